// Saved messages carry their message's date as modification time.
#include "platform/file_time.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>

namespace {

TEST(FileModificationTime, SetsAndReadsBackDatesBeforeAndAfter1970) {
  testenv::TempFolder folder;
  const std::string file = folder / "message.eml";
  testenv::WriteFile(file, "x");
  for (std::int64_t when : {std::int64_t{1046679267} /* 2003-03-03 08:14:27 UTC */,
                            std::int64_t{-315619200} /* 1960-01-01 */, std::int64_t{0}}) {
    ASSERT_TRUE(platform::SetFileModificationTime(file, when)) << when;
    std::int64_t read = -1;
    ASSERT_TRUE(platform::GetFileModificationTime(file, read));
    EXPECT_EQ(read, when);
  }
  std::int64_t read = 0;
  EXPECT_FALSE(platform::SetFileModificationTime(folder / "missing.eml", 0));
  EXPECT_FALSE(platform::GetFileModificationTime(folder / "missing.eml", read));
}

} // namespace
