// The rows as CSV, JSON and an aligned table.
#include "cli/row_output.h"

#include <gtest/gtest.h>
#include <sstream>

namespace cli {
namespace {

// A live, a deleted and a found row.
app::RecoveredList Rows() {
  app::RecoveredList list;
  app::RecoveredRow first;
  first.message = {61368, 898, "Inbox.dbx", false, true};
  first.from = "a@example.org";
  first.to = "b@example.org,c@example.org";
  first.subject = "Quote \"this\", please";
  first.date_text = "2003-03-03 10:20:30";
  list.Add(first);
  app::RecoveredRow second;
  second.message = {70000, 0, "Deleted Items.dbx", true, false};
  second.ticked = true;
  second.subject = "Gr\xFC\xDF"
                   "e\ttab";
  second.date_text = "1899-12-30";
  list.Add(second);
  app::RecoveredRow third;
  third.message.DataOffset = 3'000'000'000;
  third.message.FolderFileName = "Inbox.dbx";
  third.message.Found = true;
  third.ticked = true;
  third.subject = "found";
  list.Add(third);
  return list;
}

std::string Write(Format format) {
  std::ostringstream out;
  WriteRows(Rows(), format, out);
  return out.str();
}

TEST(RowOutput, Csv) {
  EXPECT_EQ(Write(Format::Csv),
            "folder,deleted,attachment,from,to,subject,date,ticked,data_offset,kind\r\n"
            "Inbox.dbx,false,true,a@example.org,\"b@example.org,c@example.org\","
            "\"Quote \"\"this\"\", please\",2003-03-03 10:20:30,false,61368,live\r\n"
            "Deleted Items.dbx,true,false,,,Gr\xC3\xBC\xC3\x9F"
            "e\ttab,1899-12-30,true,70000,deleted\r\n"
            "Inbox.dbx,false,false,,,found,,true,3000000000,found\r\n");
}

TEST(RowOutput, Json) {
  EXPECT_EQ(Write(Format::Json),
            "[\n"
            "  {\"folder\": \"Inbox.dbx\", \"deleted\": false, \"attachment\": true, "
            "\"from\": \"a@example.org\", \"to\": \"b@example.org,c@example.org\", "
            "\"subject\": \"Quote \\\"this\\\", please\", \"date\": \"2003-03-03 10:20:30\", "
            "\"ticked\": false, \"data_offset\": 61368, \"kind\": \"live\"},\n"
            "  {\"folder\": \"Deleted Items.dbx\", \"deleted\": true, \"attachment\": false, "
            "\"from\": \"\", \"to\": \"\", \"subject\": \"Gr\xC3\xBC\xC3\x9F"
            "e\\ttab\", "
            "\"date\": \"1899-12-30\", \"ticked\": true, \"data_offset\": 70000, "
            "\"kind\": \"deleted\"},\n"
            "  {\"folder\": \"Inbox.dbx\", \"deleted\": false, \"attachment\": false, "
            "\"from\": \"\", \"to\": \"\", \"subject\": \"found\", \"date\": \"\", "
            "\"ticked\": true, \"data_offset\": 3000000000, \"kind\": \"found\"}\n"
            "]\n");
  std::ostringstream empty;
  WriteRows(app::RecoveredList(), Format::Json, empty);
  EXPECT_EQ(empty.str(), "[]\n");
}

TEST(RowOutput, TableColumnsLineUpByCharactersNotBytes) {
  std::istringstream table(Write(Format::Table));
  std::vector<std::string> lines;
  for (std::string line; std::getline(table, line);)
    lines.push_back(line);
  ASSERT_EQ(lines.size(), 4u);
  // "Subject" starts at the same character column on every line.
  auto column = [](const std::string& line, const std::string& text) {
    std::size_t bytes = line.find(text), characters = 0;
    for (std::size_t i = 0; i < bytes; ++i)
      characters += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    return characters;
  };
  EXPECT_EQ(column(lines[0], "Date"), column(lines[1], "2003-03-03"));
  EXPECT_EQ(column(lines[0], "Date"), column(lines[2], "1899-12-30"));
  EXPECT_EQ(lines[2].substr(0, 1), "x"); // ticked
  // The kind column marks deleted rows D and found rows F.
  EXPECT_EQ(lines[2][column(lines[0], "D  A")], 'D');
  EXPECT_EQ(lines[3][column(lines[0], "D  A")], 'F');
}

TEST(RowOutput, TableCutsALongImageNameBeforeWhereItsFolderStarts) {
  const std::string name = "backup-of-the-old-office-disk.img @ 0x8000000";
  app::RecoveredList list;
  for (const char* source : {"/images/backup-of-the-old-office-disk.img", ""}) {
    app::RecoveredRow row;
    row.message.FolderFileName = name;
    row.message.SourcePath = source;
    list.Add(row);
  }
  std::ostringstream out;
  WriteRows(list, Format::Table, out);
  std::istringstream table(out.str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(table, line);)
    lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u);
  // 24 characters either way; only a folder found in an image keeps its end.
  EXPECT_EQ(lines[1].substr(3, 26), "backup-of-t\u2026 @ 0x8000000");
  EXPECT_EQ(lines[2].substr(3, 26), "backup-of-the-old-offic\u2026");
}

TEST(JsonString, EscapesControlCharacters) {
  EXPECT_EQ(JsonString(std::string("a\x01\x1f\\\n", 5)), "\"a\\u0001\\u001f\\\\\\n\"");
}

} // namespace
} // namespace cli
