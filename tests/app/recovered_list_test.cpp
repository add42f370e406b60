// The result list: ticking and the column sort rules.
#include "app/recovered_list.h"

#include <gtest/gtest.h>

namespace app {
namespace {

RecoveredRow Row(std::string subject, std::string from = "", std::string date_text = "",
                 double date_value = 0) {
  RecoveredRow row;
  row.subject = std::move(subject);
  row.from = std::move(from);
  row.date_text = std::move(date_text);
  row.date_value = date_value;
  return row;
}

std::vector<std::string> Subjects(const RecoveredList& list) {
  std::vector<std::string> subjects;
  for (const auto& row : list.Rows())
    subjects.push_back(row.subject);
  return subjects;
}

TEST(RecoveredList, ClicksOnOneColumnAlternateTheDirection) {
  RecoveredList list;
  for (const char* subject : {"beta", "Alpha", "gamma"})
    list.Add(Row(subject));
  const std::vector<std::vector<std::string>> expected = {
      {"Alpha", "beta", "gamma"}, {"gamma", "beta", "Alpha"}, {"Alpha", "beta", "gamma"}};
  for (const auto& order : expected) {
    list.ColumnClick(kSubjectColumn);
    EXPECT_EQ(Subjects(list), order);
  }
  EXPECT_EQ(list.SortColumn(), kSubjectColumn);
}

TEST(RecoveredList, DirectionCarriesOverToANewColumn) {
  RecoveredList list;
  list.Add(Row("b", "zed"));
  list.Add(Row("a", "amy"));
  list.Add(Row("c", "Max"));
  list.ColumnClick(kSubjectColumn);
  list.ColumnClick(kSubjectColumn); // descending now
  list.ColumnClick(kFromColumn);
  EXPECT_FALSE(list.SortAscending());
  EXPECT_EQ(Subjects(list), (std::vector<std::string>{"b", "c", "a"}));
}

TEST(RecoveredList, DatesSortByTheirValueNotTheirText) {
  RecoveredList list;
  list.Add(Row("later", "", "10/1/2004", 38261));
  list.Add(Row("earlier", "", "9/30/2004", 38260));
  list.Add(Row("unknown", "", "12/30/1899", 0));
  list.ColumnClick(kDateColumn);
  EXPECT_EQ(Subjects(list), (std::vector<std::string>{"unknown", "earlier", "later"}));
  list.ColumnClick(kDateColumn);
  EXPECT_EQ(Subjects(list), (std::vector<std::string>{"later", "earlier", "unknown"}));
}

TEST(RecoveredList, EqualRowsKeepTheirOrderAndTicksTravelWithRows) {
  RecoveredList list;
  for (const char* subject : {"3", "1", "2"})
    list.Add(Row(subject));
  list.SetTicked(1, true); // "1"
  for (int column : {kSelectColumn, kDeletedColumn, kAttachmentColumn}) {
    list.ColumnClick(column);
    EXPECT_EQ(Subjects(list), (std::vector<std::string>{"3", "1", "2"})) << column;
  }
  list.ColumnClick(kSubjectColumn);
  EXPECT_TRUE(list[0].ticked);
  EXPECT_FALSE(list[1].ticked);
}

TEST(RecoveredList, TheInstalledComparisonSeesTheDisplayedTexts) {
  RecoveredList list([](std::string_view a, std::string_view b) { return b.compare(a); });
  list.SetDisplayConversion([](int, const std::string& text) { return "<" + text + ">"; });
  list.Add(Row("a"));
  list.Add(Row("b"));
  list.ColumnClick(kSubjectColumn); // the comparison reverses the order
  EXPECT_EQ(Subjects(list), (std::vector<std::string>{"b", "a"}));
}

TEST(RecoveredList, EachColumnSortsByItsOwnShownTexts) {
  RecoveredList list;
  // The folder column shows a folder's name for its file name; other columns show their text.
  list.SetDisplayConversion([](int column, const std::string& text) {
    return column == kFolderColumn && text == "b.dbx" ? std::string("A folder") : text;
  });
  for (const char* file : {"a.dbx", "b.dbx"}) {
    RecoveredRow row = Row(file);
    row.message.FolderFileName = file;
    list.Add(row);
  }
  list.ColumnClick(kFolderColumn);
  EXPECT_EQ(Subjects(list), (std::vector<std::string>{"b.dbx", "a.dbx"}));
  list.ColumnClick(kSubjectColumn); // same direction, and "b.dbx" stays itself here
  EXPECT_EQ(Subjects(list), (std::vector<std::string>{"a.dbx", "b.dbx"}));
}

TEST(RecoveredList, ComparesTheDisplayedTextsByDefault) {
  RecoveredList list;
  list.Add(Row("\xC3\xA1rbol"));    // UTF-8 "árbol", shown as it is: C3 A1 ...
  list.Add(Row("\xE0 la"));         // Windows-1252 "à la", shown as UTF-8: C3 A0 ...
  list.ColumnClick(kSubjectColumn); // raw bytes would put C3 before E0
  EXPECT_EQ(list[0].subject, "\xE0 la");
}

TEST(RecoveredList, TickingAllNoneAndToggle) {
  RecoveredList list;
  list.SelectAll(); // an empty list: nothing happens
  list.ColumnClick(kFromColumn);
  EXPECT_EQ(list.SortColumn(), kFromColumn);
  EXPECT_FALSE(list.AnyTicked());
  list.Add(Row("x"));
  list.Add(Row("y"));
  list.Toggle(1);
  EXPECT_TRUE(list.AnyTicked());
  list.Toggle(1);
  EXPECT_FALSE(list.AnyTicked());
  list.SelectAll();
  EXPECT_TRUE(list[0].ticked && list[1].ticked);
  list.SelectNone();
  EXPECT_FALSE(list.AnyTicked());
}

} // namespace
} // namespace app
