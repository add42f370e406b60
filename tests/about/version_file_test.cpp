// Finding the version resource in program files: Windows files built here, this test's own
// executable (which the build gives a version resource), and files without one.
#include "about/version_block_writer.h"
#include "about/version_info.h"
#include "about/version_locator.h"
#include "memory_file.h"
#include "pe_builder.h"
#include "scoped_environment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace about {
namespace {

std::vector<std::uint8_t> SampleBlock() {
  VersionBlockFields f;
  f.file_version = {5, 1, 2600, 0};
  f.product_version = {5, 1, 2600, 0};
  f.file_os = 0x40004;
  f.file_type = 2;
  f.strings = {{"CompanyName", "Example Corp"}, {"FileDescription", "Sample library"}};
  return BuildVersionBlock(f);
}

std::string WriteBytes(const testenv::TempFolder& folder, const std::string& name,
                       const std::vector<std::uint8_t>& bytes) {
  const std::string path = folder / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

TEST(PeVersion, Pe32FileIsRead) {
  testenv::TempFolder folder;
  const std::string path = WriteBytes(folder, "sample.dll", testpe::BuildPe(SampleBlock()));
  TVersionInfo info;
  info.ReadVersionInfo(path);
  EXPECT_EQ(info.FileName(), path);
  EXPECT_EQ(info.VersionText(), "5.1.2600");
  EXPECT_EQ(info.FileDescription(), "Sample library");
  ASSERT_GE(info.Details().size(), 4u);
  EXPECT_EQ(info.Details()[2], "FileType=Dynamic-Link Library");
  EXPECT_EQ(info.Details()[3], "Company Name=Example Corp");
}

TEST(PeVersion, Pe32PlusFileIsRead) {
  testpe::PeLayout layout;
  layout.wide = true;
  layout.section_rva = 0x3000;
  layout.section_offset = 0x400;
  testpe::MemoryFile file(testpe::BuildPe(SampleBlock(), layout));
  const auto block = FindVersionBlock(file);
  ASSERT_TRUE(block);
  EXPECT_EQ(*block, SampleBlock());
}

TEST(PeVersion, FileWithOtherResourcesOnlyHasNone) {
  testpe::PeLayout layout;
  layout.resource_type = 3; // RT_ICON
  testpe::MemoryFile file(testpe::BuildPe(SampleBlock(), layout));
  EXPECT_FALSE(FindVersionBlock(file));
}

TEST(PeVersion, EveryTruncationIsSafe) {
  const std::vector<std::uint8_t> whole = testpe::BuildPe(SampleBlock());
  const std::size_t block_end = 0x200 + 88 + SampleBlock().size();
  for (std::size_t n = 0; n < whole.size(); ++n) {
    testpe::MemoryFile file(std::vector<std::uint8_t>(whole.begin(), whole.begin() + n));
    // Whatever is cut off, the block is found whole or not at all.
    const auto block = FindVersionBlock(file);
    if (n < block_end)
      EXPECT_FALSE(block) << n;
    else
      EXPECT_EQ(block, SampleBlock()) << n;
  }
}

TEST(PeVersion, CorruptedHeadersAreSafe) {
  const std::vector<std::uint8_t> whole = testpe::BuildPe(SampleBlock());
  std::uint32_t seed = 777;
  int found = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> copy = whole;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245u + 12345u;
      // Headers and the resource tree, where the offsets live.
      const std::size_t at = (seed >> 8) % 2 == 0 ? (seed >> 9) % 0x180 : 0x200 + (seed >> 9) % 88;
      copy[at] = static_cast<std::uint8_t>(seed >> 24);
    }
    testpe::MemoryFile file(copy);
    if (const auto block = FindVersionBlock(file)) {
      ++found;
      TVersionInfo info;
      info.ParseVersionBlock(*block);
    }
  }
  EXPECT_GT(found, 0);
}

TEST(ProgramVersion, ThisExecutableCarriesTheProjectVersion) {
  TVersionInfo info;
  info.ReadVersionInfo("/proc/self/exe");
  EXPECT_EQ(info.VersionText(), SALVORA_EXPECTED_VERSION_TEXT);
  EXPECT_EQ(info.FileDescription(), "Salvora for Outlook Express");
  EXPECT_EQ(info.LegalCopyright(), "Copyright \u00A9 2026 Salvora Software");
  const std::vector<std::string>& details = info.Details();
  ASSERT_GE(details.size(), 3u);
  EXPECT_EQ(details[0], "ProductVersion=" SALVORA_PROJECT_VERSION);
  EXPECT_EQ(details[1], "OperatingSystem=Unknown");
  EXPECT_EQ(details[2], "FileType=Application");
  const std::vector<std::string> strings(details.begin() + 3, details.end());
  const std::vector<std::string> expected = {
      "Company Name=Salvora Software", "Internal Name=about_version_tests",
      "Original Filename=about_version_tests", "Product Name=Salvora for Outlook Express",
      "Product Version=" SALVORA_PROJECT_VERSION};
  EXPECT_EQ(strings, expected);
}

// This executable, with some of its bytes replaced.
class PatchedFile : public platform::RandomAccessFile {
public:
  PatchedFile(std::unique_ptr<platform::RandomAccessFile> file,
              std::map<std::int64_t, char> patches, std::int64_t size)
      : file_(std::move(file)), patches_(std::move(patches)), size_(size) {}
  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= size_)
      return 0;
    size = std::min<std::size_t>(size, static_cast<std::size_t>(size_ - offset));
    const std::size_t n = file_->ReadAt(offset, buffer, size);
    for (auto it = patches_.lower_bound(offset);
         it != patches_.end() && it->first < offset + static_cast<std::int64_t>(n); ++it)
      buffer[it->first - offset] = it->second;
    return n;
  }
  std::int64_t Size() const override { return size_; }

private:
  std::unique_ptr<platform::RandomAccessFile> file_;
  std::map<std::int64_t, char> patches_;
  std::int64_t size_;
};

TEST(ProgramVersion, ExecutableCutBeforeItsSectionTableHasNone) {
  auto file = platform::OpenFileForReading("/proc/self/exe");
  ASSERT_TRUE(file);
  std::uint64_t table = 0; // e_shoff of a 64-bit ELF file
  ASSERT_EQ(file->ReadAt(0x28, reinterpret_cast<char*>(&table), sizeof table), sizeof table);
  const std::int64_t size = file->Size();
  ASSERT_LT(static_cast<std::int64_t>(table), size);
  PatchedFile whole(platform::OpenFileForReading("/proc/self/exe"), {}, size);
  EXPECT_TRUE(FindVersionBlock(whole));
  PatchedFile truncated(std::move(file), {}, static_cast<std::int64_t>(table) + 32);
  EXPECT_FALSE(FindVersionBlock(truncated));
}

TEST(ProgramVersion, CorruptedElfHeadersAreSafe) {
  const std::int64_t size = platform::OpenFileForReading("/proc/self/exe")->Size();
  std::uint32_t seed = 99;
  int found = 0;
  for (int round = 0; round < 500; ++round) {
    std::map<std::int64_t, char> patches;
    for (int k = 0; k < 2; ++k) {
      seed = seed * 1103515245u + 12345u;
      patches[(seed >> 8) % 64 + 0x20] = static_cast<char>(seed >> 24); // offsets and counts
    }
    PatchedFile file(platform::OpenFileForReading("/proc/self/exe"), patches, size);
    found += FindVersionBlock(file) ? 1 : 0;
  }
  EXPECT_GT(found, 0);
}

TEST(ProgramVersion, FilesWithoutResourceGiveEmptyValues) {
  testenv::TempFolder folder;
  const std::string text = WriteBytes(folder, "notes.txt", {'h', 'e', 'l', 'l', 'o'});
  const std::string mz = WriteBytes(folder, "stub.exe", {'M', 'Z', 0, 0});
  for (const std::string& path :
       {std::string(), text, mz, folder / "missing.exe", std::string("/bin/sh")}) {
    TVersionInfo info;
    info.ReadVersionInfo(path);
    EXPECT_EQ(info.FileName(), path);
    EXPECT_EQ(info.VersionText(), "") << path;
    EXPECT_TRUE(info.Details().empty()) << path;
  }
}

} // namespace
} // namespace about
