// The real Outlook Express files: the dump of every one must match the manifest, which gives
// the listing and the full texts' lengths and SHA-256 that a correct reader produces.
#include "cli/dump_command.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Every file's expected dump, by path relative to the samples folder.
std::vector<std::pair<std::string, std::string>> ReadManifest(std::istream& manifest) {
  std::vector<std::pair<std::string, std::string>> files;
  for (std::string line; std::getline(manifest, line);) {
    if (line.empty() || line[0] == '#')
      continue;
    if (line.starts_with("== "))
      files.emplace_back(line.substr(3), "");
    else if (!files.empty())
      files.back().second += line + '\n';
  }
  return files;
}

// What the deep scan finds beyond the listings in these files. test.dbx still holds, 32 KiB
// before the place it last had, a whole message from before Outlook Express compacted the
// file: six blocks that hold offsets 32 KiB above where they stand, ending its chain, with a
// header and a signature. No other file holds a message the listings leave out.
const std::map<std::string, std::string> kFoundBeyondTheListings = {
    {"perl-mtdbx/test.dbx",
     "found 0 27348 0 2710 83f7d590d15ca661b4fddf23d73f3ec2f6ae1a49465bda277b3f5c02250be26f\n"}};

TEST(RealSamples, DumpMatchesTheManifest) {
  const fs::path samples = SALVORA_SHARED_SAMPLES;
  std::ifstream manifest(samples / "MANIFEST");
  if (!manifest)
    GTEST_SKIP() << "no shared samples at " << samples << " (the manifest test needs them)";

  const auto files = ReadManifest(manifest);
  ASSERT_FALSE(files.empty());
  int messages = 0;
  for (const auto& [file, expected] : files) {
    cli::DumpOptions options;
    options.deep = true;
    options.files.push_back((samples / file).string());
    std::ostringstream out, errors;
    ASSERT_TRUE(cli::RunDump(options, out, errors)) << errors.str();
    std::string dump = out.str();
    dump.erase(0, dump.find('\n') + 1); // the "== path" line names the absolute path
    auto found = kFoundBeyondTheListings.find(file);
    EXPECT_EQ(dump, expected + (found == kFoundBeyondTheListings.end() ? "" : found->second))
        << file;
    messages += static_cast<int>(std::count(expected.begin(), expected.end(), '\n'));
  }
  EXPECT_EQ(messages, 39);
}

} // namespace
