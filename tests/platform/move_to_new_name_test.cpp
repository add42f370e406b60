// Moving a finished file to its name, as a Maildir delivery moves it from tmp to cur.
#include "platform/new_file.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using platform::NewFileResult;

TEST(MoveToNewName, MovesAndNeverReplaces) {
  testenv::TempFolder folder;
  testenv::WriteFile(folder / "tmp/a", "message");
  testenv::WriteFile(folder / "cur/taken", "other");
  EXPECT_EQ(platform::MoveToNewName(folder / "tmp/a", folder / "cur/taken"),
            NewFileResult::AlreadyExists);
  EXPECT_EQ(testenv::ReadFile(folder / "cur/taken"), "other");
  EXPECT_EQ(platform::MoveToNewName(folder / "tmp/a", folder / "cur/b"), NewFileResult::Created);
  EXPECT_EQ(testenv::ReadFile(folder / "cur/b"), "message");
  EXPECT_FALSE(std::filesystem::exists(folder / "tmp/a"));
  EXPECT_THROW(platform::MoveToNewName(folder / "tmp/gone", folder / "cur/c"), std::runtime_error);
}

} // namespace
