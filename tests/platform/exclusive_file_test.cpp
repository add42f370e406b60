#include "platform/exclusive_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string MakeFile(const std::string& name, const std::string& content) {
  auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

TEST(ExclusiveFile, SecondOpenFailsWhileTheFirstIsHeld) {
  std::string path = MakeFile("salvora-exclusive-test.bin", "abcdef");
  auto first = platform::OpenExclusiveForReading(path);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(platform::OpenExclusiveForReading(path), nullptr);
  first.reset();
  EXPECT_NE(platform::OpenExclusiveForReading(path), nullptr);
  std::filesystem::remove(path);
}

TEST(ExclusiveFile, MissingFilesAndFoldersDoNotOpen) {
  EXPECT_EQ(platform::OpenExclusiveForReading("/nonexistent/salvora/file.dbx"), nullptr);
  EXPECT_EQ(platform::OpenExclusiveForReading(std::filesystem::temp_directory_path().string()),
            nullptr);
}

TEST(ExclusiveFile, ReadsAtOffsetsAcrossTheReadAheadWindow) {
  std::string content;
  for (int i = 0; i < 200000; ++i)
    content.push_back(static_cast<char>(i * 7 + i / 256));
  std::string path = MakeFile("salvora-window-test.bin", content);
  auto file = platform::OpenExclusiveForReading(path);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), static_cast<std::int64_t>(content.size()));
  // Forward, backward, straddling the 64 KiB window, larger than the window, and the tail.
  const std::pair<std::int64_t, std::size_t> reads[] = {{0, 528},        {65530, 20},  {10, 16},
                                                        {131000, 70000}, {199990, 10}, {199995, 20},
                                                        {200000, 4},     {-4, 4}};
  for (auto [offset, size] : reads) {
    std::string buffer(size, '\0');
    std::size_t got = file->ReadAt(offset, buffer.data(), size);
    std::size_t expected_size =
        offset < 0 || offset >= 200000 ? 0 : std::min<std::size_t>(size, 200000 - offset);
    ASSERT_EQ(got, expected_size) << offset;
    EXPECT_EQ(buffer.substr(0, got), content.substr(offset < 0 ? 0 : offset, got)) << offset;
  }
  file.reset();
  std::filesystem::remove(path);
}

} // namespace
