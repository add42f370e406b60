// How much of a damaged folder file `salvora dump --deep` gives back, on a realistic generated
// store of 3,600 messages (3,000 live, 600 deleted). For each kind of damage: the messages
// whose blocks all survive, how many of them the dump lists, how many read back byte for byte
// (live ones as stored, deleted ones as the deleted reader reads them), and how many lines
// stand where no message's block is.
//
//   deep_scan_coverage [FOLDER]   (default: salvora-deep-scan-coverage in the temporary folder)
#include "dbx_writer.h"
#include "generated_mail.h"
#include "platform/sha256.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using dbxtest::kBlockSize;
using dbxtest::kBlockTextSize;

struct Message {
  std::vector<std::int64_t> blocks;
  std::int64_t record = 0;
  bool deleted = false;
  std::string expected_sha; // of the text the readers should give
};

struct Store {
  std::vector<Message> messages;
  std::string bytes;
  std::int64_t index_start = 0;
};

Store Generate() {
  dbxtest::StoreBuilder builder;
  Store store;
  std::mt19937 random(2026);
  std::vector<std::string> texts;
  for (int i = 0; i < 3600; ++i) {
    // Mostly letters of a few KB and some attachments, with one short note in thirty.
    std::string text =
        i % 30 == 0
            ? "From: a@example.org\r\nSubject: note " + std::to_string(i) + "\r\n\r\nSee you.\r\n"
            : bench::GeneratedMessage(random, i, {2000, 8000, 10000, 12000, 22000, 28000});
    int index = builder.AddMessage(text);
    Message message;
    message.record = builder.InfoOffset(index);
    for (std::size_t b = 0; b * kBlockTextSize < text.size(); ++b)
      message.blocks.push_back(builder.DataOffset(index) + kBlockSize * std::int64_t(b));
    store.messages.push_back(message);
    texts.push_back(text);
  }
  std::vector<int> deleted;
  for (int i = 0; i < 3600; i += 6)
    deleted.push_back(i);
  std::shuffle(deleted.begin(), deleted.end(), random);
  for (int i : deleted) {
    builder.DeleteMessage(i);
    store.messages[i].deleted = true;
  }
  for (std::size_t i = 0; i < texts.size(); ++i)
    store.messages[i].expected_sha = platform::Sha256Hex(
        store.messages[i].deleted ? dbxtest::StoreBuilder::DeletedText(texts[i]) : texts[i]);
  store.index_start = builder.End();
  store.bytes = builder.Build(50).bytes();
  return store;
}

struct Line {
  std::string kind;
  std::size_t length = 0;
  std::string sha;
};

// Runs `salvora dump --deep` and reads its lines by data offset.
std::multimap<std::int64_t, Line> Dump(const std::string& file) {
  std::string command = std::string(SALVORA_PROGRAM) + " dump --deep '" + file + "'";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  std::multimap<std::int64_t, Line> lines;
  if (!pipe)
    return lines;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    std::istringstream in(buffer);
    Line line;
    std::int64_t info = 0, data = 0, attr = 0;
    if (in >> line.kind >> info >> data >> attr >> line.length >> line.sha && line.kind != "==")
      lines.emplace(data, line);
  }
  ::pclose(pipe);
  return lines;
}

using Survives = std::function<bool(std::int64_t offset)>;

void Report(const char* damage, const Store& store, const std::string& bytes,
            const Survives& survives, const fs::path& folder) {
  const std::string file = (folder / "damaged.dbx").string();
  {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  std::multimap<std::int64_t, Line> lines = Dump(file);
  std::map<std::int64_t, bool> blocks; // block offset -> first block of its message
  for (const Message& message : store.messages)
    for (std::size_t b = 0; b < message.blocks.size(); ++b)
      blocks[message.blocks[b]] = b == 0;
  int surviving = 0, listed = 0, identical = 0;
  for (const Message& message : store.messages) {
    if (!std::all_of(message.blocks.begin(), message.blocks.end(), [&](std::int64_t block) {
          return survives(block) && survives(block + kBlockSize - 1);
        }))
      continue;
    ++surviving;
    auto [first, last] = lines.equal_range(message.blocks.front());
    if (first == last)
      continue;
    ++listed;
    if (std::any_of(first, last,
                    [&](const auto& line) { return line.second.sha == message.expected_sha; }))
      ++identical;
  }
  int invented = 0, found = 0;
  for (const auto& [offset, line] : lines) {
    found += line.kind == "found";
    auto block = blocks.find(offset);
    if (block == blocks.end() || (line.kind != "found" && !block->second))
      ++invented;
  }
  std::printf("%-30s %9d %7d %7.2f%% %10d %8d %8d\n", damage, surviving, listed,
              surviving ? 100.0 * listed / surviving : 100.0, identical, found, invented);
  std::fflush(stdout);
}

std::string Zeroed(std::string bytes, std::int64_t from, std::int64_t size) {
  from = std::min<std::int64_t>(from, static_cast<std::int64_t>(bytes.size()));
  size = std::min<std::int64_t>(size, static_cast<std::int64_t>(bytes.size()) - from);
  std::memset(bytes.data() + from, 0, static_cast<std::size_t>(size));
  return bytes;
}

} // namespace

int main(int argc, char** argv) {
  fs::path folder =
      argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "salvora-deep-scan-coverage";
  fs::create_directories(folder);
  const Store store = Generate();
  const auto size = static_cast<std::int64_t>(store.bytes.size());
  std::printf("store: %.1f MB, %zu messages\n", static_cast<double>(size) / 1e6,
              store.messages.size());
  std::printf("%-30s %9s %7s %8s %10s %8s %8s\n", "damage", "surviving", "listed", "share",
              "identical", "found", "invented");
  auto everywhere = [](std::int64_t) { return true; };
  Report("none", store, store.bytes, everywhere, folder);
  for (int percent : {30, 60, 90}) {
    const std::int64_t cut = size * percent / 100;
    Report(("cut short at " + std::to_string(percent) + " %").c_str(), store,
           store.bytes.substr(0, static_cast<std::size_t>(cut)),
           [&](std::int64_t at) { return at < cut; }, folder);
  }
  Report("header zeroed", store, Zeroed(store.bytes, 0, 0x24BC), everywhere, folder);
  Report("index tree destroyed", store, Zeroed(store.bytes, store.index_start, size), everywhere,
         folder);
  std::string records = store.bytes;
  for (const Message& message : store.messages)
    records = Zeroed(records, message.record, 12);
  Report("every record overwritten", store, records, everywhere, folder);
  Report("deleted-chain head lost", store, Zeroed(store.bytes, 72, 4), everywhere, folder);
  std::mt19937 random(7);
  std::string runs = store.bytes;
  std::vector<std::int64_t> run_starts;
  for (int i = 0; i < 5; ++i) {
    run_starts.push_back(static_cast<std::int64_t>(random() % store.bytes.size()) & ~3);
    runs = Zeroed(runs, run_starts.back(), 1 << 20);
  }
  Report(
      "five zeroed runs of 1 MiB", store, runs,
      [&](std::int64_t at) {
        return std::none_of(run_starts.begin(), run_starts.end(), [&](std::int64_t start) {
          return at >= start && at < start + (1 << 20);
        });
      },
      folder);
  fs::remove_all(folder);
  return 0;
}
