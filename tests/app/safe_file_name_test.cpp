// Names from messages and folder databases as file names: whatever they hold, the file lands
// inside the chosen folder under a name every file system takes.
#include "app/safe_file_name.h"
#include "platform/path_separator.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  std::string name;
  std::string safe;
};

TEST(SafeFileName, KeepsFilesInsideTheFolder) {
  const std::string a146(146, 'a');
  const NameCase cases[] = {
      {"report.pdf", "report.pdf"},
      {"R\xC3\xA9sum\xC3\xA9 2003.doc", "R\xC3\xA9sum\xC3\xA9 2003.doc"},
      {"../../x", "x"},
      {"..\\..\\Windows\\win.ini", "win.ini"},
      {"C:\\Documents\\plan.txt", "plan.txt"},
      {"/etc/passwd", "passwd"},
      {"..", "attachment"},
      {"", "attachment"},
      {" . ", "attachment"},
      {"dir/", "attachment"},
      {".hidden", "hidden"},
      {"name. ", "name"},
      {"a<b>c:d\"e|f?g*h", "a_b_c_d_e_f_g_h"},
      {"tab\there\x7F", "tab_here_"},
      {"CON", "_CON"},
      {"con.txt", "_con.txt"},
      {"Aux.tar.gz", "_Aux.tar.gz"},
      {"lpt9", "_lpt9"},
      {"COM0", "COM0"},
      {"CONSOLE.txt", "CONSOLE.txt"},
      {std::string(600, 'a') + ".pdf", a146 + ".pdf"},
      {std::string(600, 'a'), std::string(150, 'a')},
      // The cut never splits a character: 145 letters and a two-byte one do not fit in 146.
      {std::string(145, 'a') + "\xC3\xA9\xC3\xA9\xC3\xA9.txt", std::string(145, 'a') + ".txt"},
  };
  for (const NameCase& c : cases)
    EXPECT_EQ(app::SafeFileName(c.name, "attachment"), c.safe) << c.name;
}

TEST(NumberedPath, PutsTheCounterBeforeTheExtension) {
  const std::string sep(1, platform::kPathSeparator);
  EXPECT_EQ(app::NumberedPath("d", "report.pdf", 0), "d" + sep + "report.pdf");
  EXPECT_EQ(app::NumberedPath("d", "report.pdf", 2), "d" + sep + "report_2.pdf");
  EXPECT_EQ(app::NumberedPath("d", "archive.tar.gz", 1), "d" + sep + "archive.tar_1.gz");
  EXPECT_EQ(app::NumberedPath("d", "README", 1), "d" + sep + "README_1");
  EXPECT_EQ(app::NumberedPath("d", "Inbox.mbox", 1), "d" + sep + "Inbox_1.mbox");
}

} // namespace
