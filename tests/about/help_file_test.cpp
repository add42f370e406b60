// The help file's project: every context number the program uses is mapped to a page that
// the project compiles, and the compiled file carries the map.
#include "about/help_contexts.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

namespace about {
namespace {

struct Project {
  std::set<std::string> files;
  std::map<std::string, std::string> aliases; // IDH_... -> page
  std::map<int, std::string> map;             // number -> IDH_...
};

Project ReadProject(const std::string& path) {
  Project project;
  std::istringstream in(testenv::ReadFile(path));
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty())
      continue;
    if (line.front() == '[') {
      section = line;
    } else if (section == "[FILES]") {
      project.files.insert(line);
    } else if (section == "[ALIAS]") {
      const std::size_t equals = line.find('=');
      project.aliases[line.substr(0, equals)] = line.substr(equals + 1);
    } else if (section == "[MAP]") {
      std::istringstream words(line);
      std::string define, name;
      int number = 0;
      words >> define >> name >> number;
      project.map[number] = name;
    }
  }
  return project;
}

TEST(HelpProject, EveryContextLeadsToACompiledPage) {
  const Project project = ReadProject(SALVORA_HELP_SOURCE_DIR "/SalvoraExpress.hhp");
  for (const int context : {kHelpContents, kHelpDrive, kHelpSearch, kHelpSave, kHelpDeletedMessages,
                            kHelpWhereFilesGo, kHelpTroubleshooting, kHelpDeepScan, kHelpReading}) {
    ASSERT_TRUE(project.map.contains(context)) << context;
    const std::string& alias = project.map.at(context);
    ASSERT_TRUE(project.aliases.contains(alias)) << alias;
    const std::string& page = project.aliases.at(alias);
    EXPECT_TRUE(project.files.contains(page)) << page;
    EXPECT_FALSE(testenv::ReadFile(SALVORA_HELP_SOURCE_DIR "/" + page).empty()) << page;
  }
  EXPECT_EQ(project.aliases.at(project.map.at(kHelpContents)), "index.html");
}

TEST(HelpProject, TroubleshootingNamesTheBackupMessage) {
  EXPECT_NE(testenv::ReadFile(SALVORA_HELP_SOURCE_DIR "/troubleshooting.html")
                .find("Cannot backup dbx file."),
            std::string::npos);
}

TEST(HelpProject, CompiledFileCarriesTheContextMap) {
  if (!SALVORA_HAVE_HELP_COMPILER)
    GTEST_SKIP() << "chmcmd is not installed: no help file is built";
  const std::string chm = testenv::ReadFile(SALVORA_HELP_FILE);
  ASSERT_EQ(chm.substr(0, 4), "ITSF"); // the compiled HTML Help signature
  EXPECT_NE(chm.find("/#IVB"), std::string::npos);
  EXPECT_NE(chm.find("/troubleshooting.html"), std::string::npos);
}

} // namespace
} // namespace about
