// SPDX-License-Identifier: MIT
// `salvora dump --deep` beside Debian's undbx in its recovery mode (`undbx -r`), both run on
// the same sources on this machine in the same run, one after the other, the order switched
// each time.
//
// 1. Recovery: a store of 1,800 messages and one of 700 (realistic sizes, about one in five
//    deleted), damaged as folder files turn up: behind noise, without their head, with their
//    clusters shuffled, inside a disk image, as deleted fragmented files of a FAT file system.
//    Per tool and damage: the messages given back byte for byte, those given more than once or
//    only in pieces, and the texts that are no message at all.
// 2. Speed and memory: a disk image of copies of the 1,800-message store among noise, read by
//    `cat`, `salvora dump --deep` and `undbx -r` from the page cache, three times each; and
//    salvora's peak memory per data block it found.
//
//   deep_scan_peer_bench [--image-mib N] [--only recovery|speed] [--undbx PROGRAM]
//   deep_scan_peer_bench --write-image FILE MIB   (part 2's image, to profile the search on)
//   deep_scan_peer_bench --search FILE            (the search alone, as part 2 runs it)
//
// Counting. salvora's dump gives each text's SHA-256, undbx writes each text to an .eml file.
// A live message counts as given back when a text equals the text it was stored with. A
// deleted message counts for salvora when its text equals what the store's deleted reader
// gives (each block's first four bytes, which deletion overwrote, read "____"), and for
// undbx when its file equals either that or the stored text. A text belongs to a message when
// it is that message whole, or when its first block stands where one of the message's blocks
// does (salvora's lines and undbx's file names give that position), or, for undbx's files,
// when one of its lines is a line only that message has. A message is given twice when it is
// given whole and some other text belongs to it too; it is in pieces when it is not given whole
// but texts belong to it. A text belonging to no message is "no message".
#include "damaged_sources.h"
#include "dbx_writer.h"
#include "platform/exclusive_file.h"
#include "platform/sha256.h"
#include "store/uoexpress.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <unordered_map>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using dbxtest::kBlockSize;
using dbxtest::kBlockTextSize;
using Clock = std::chrono::steady_clock;

using dbxtest::FileBytes;
using dbxtest::Noise;
using dbxtest::WriteFile;

struct Run {
  double seconds = 0;
  long peak_kib = 0; // the child's ru_maxrss
  int status = -1;
};

// Runs `args` with its output into `out` and its messages into `err`, timing it from spawn to
// exit and taking the child's peak memory.
Run SpawnHere(const std::vector<std::string>& args, const std::string& out,
              const std::string& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  Run run;
  const auto start = Clock::now();
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0)
    throw std::runtime_error("cannot start " + args[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid)
    throw std::runtime_error("lost " + args[0]);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.peak_kib = usage.ru_maxrss;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

fs::path g_folder; // the run's temporary folder

// A child's ru_maxrss is at least the peak of the memory it was started from, since Linux keeps
// that across exec: started from this process, holding the stores, every child would show the
// stores' size. So children are started from a fresh, small copy of this program
// (`--measure RESULT OUT ERR PROGRAM ARGS...`), which reports how they ran.
Run Spawn(const std::vector<std::string>& args, const std::string& out,
          const std::string& err = "/dev/null") {
  const fs::path result = g_folder / "measure.txt";
  std::vector<std::string> helper = {"/proc/self/exe", "--measure", result.string(), out, err};
  helper.insert(helper.end(), args.begin(), args.end());
  if (SpawnHere(helper, "/dev/null", "/dev/null").status != 0)
    throw std::runtime_error("cannot measure " + args[0]);
  Run run;
  std::ifstream(result) >> run.seconds >> run.peak_kib >> run.status;
  return run;
}

// ---- What each message should read back as ---------------------------------------------------

struct Known {
  int file = 0;
  const dbxtest::GeneratedMessage* message = nullptr;
};

class Catalogue {
public:
  explicit Catalogue(const std::vector<const dbxtest::GeneratedStore*>& stores) {
    for (std::size_t f = 0; f < stores.size(); ++f)
      for (const auto& message : stores[f]->messages) {
        const int id = static_cast<int>(known_.size());
        known_.push_back({static_cast<int>(f), &message});
        const std::string written = platform::Sha256Hex(message.written);
        const std::string text = platform::Sha256Hex(message.text);
        salvora_sha_.push_back(message.deleted ? text : written);
        by_sha_[written].insert(id);
        by_sha_[text].insert(id);
        for (std::int64_t block : message.blocks)
          by_block_[{static_cast<int>(f), block}] = id;
        for (const std::string* form : {&message.written, &message.text})
          for (const std::string& line : Lines(*form))
            if (line.size() >= 24) {
              auto [at, added] = by_line_.emplace(line, id);
              if (!added && at->second != id)
                at->second = -1; // a line more than one message has says nothing
            }
      }
  }

  int size() const { return static_cast<int>(known_.size()); }
  const Known& operator[](int id) const { return known_[static_cast<std::size_t>(id)]; }

  // Messages whose text, in any form, has this SHA-256.
  std::set<int> WithSha(const std::string& sha) const {
    auto at = by_sha_.find(sha);
    return at == by_sha_.end() ? std::set<int>{} : at->second;
  }
  const std::string& SalvoraSha(int id) const { return salvora_sha_[static_cast<std::size_t>(id)]; }
  int AtBlock(int file, std::int64_t offset) const {
    auto at = by_block_.find({file, offset});
    return at == by_block_.end() ? -1 : at->second;
  }
  // Messages that have a line only they have in `text`.
  std::set<int> OwningLines(const std::string& text) const {
    std::set<int> owners;
    for (const std::string& line : Lines(text)) {
      auto at = by_line_.find(line);
      if (at != by_line_.end() && at->second >= 0)
        owners.insert(at->second);
    }
    return owners;
  }

private:
  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos)
        end = text.size();
      std::size_t stop = end;
      if (stop > start && text[stop - 1] == '\r')
        --stop;
      lines.push_back(text.substr(start, stop - start));
      start = end + 1;
    }
    return lines;
  }

  std::vector<Known> known_;
  std::vector<std::string> salvora_sha_;
  std::unordered_map<std::string, std::set<int>> by_sha_;
  std::map<std::pair<int, std::int64_t>, int> by_block_;
  std::unordered_map<std::string, int> by_line_;
};

struct Tally {
  int texts = 0;
  int whole = 0;
  int whole_deleted = 0;
  int twice = 0;  // given whole, and again whole or in part
  int pieces = 0; // not given whole, but in part
  int no_message = 0;
};

struct Tallier {
  const Catalogue& catalogue;
  std::vector<int> whole, belonging;
  Tally tally;

  explicit Tallier(const Catalogue& c)
      : catalogue(c), whole(static_cast<std::size_t>(c.size())),
        belonging(static_cast<std::size_t>(c.size())) {}

  void Text(const std::set<int>& whole_of, const std::set<int>& owners) {
    ++tally.texts;
    for (int id : whole_of)
      ++whole[static_cast<std::size_t>(id)];
    for (int id : owners)
      ++belonging[static_cast<std::size_t>(id)];
    if (owners.empty())
      ++tally.no_message;
  }

  Tally Done() {
    for (int id = 0; id < catalogue.size(); ++id) {
      if (whole[static_cast<std::size_t>(id)] > 0) {
        ++tally.whole;
        tally.whole_deleted += catalogue[id].message->deleted;
      }
      const int texts = belonging[static_cast<std::size_t>(id)];
      if (whole[static_cast<std::size_t>(id)] > 0)
        tally.twice += texts >= 2;
      else
        tally.pieces += texts >= 1;
    }
    return tally;
  }
};

// Which message has a block at `position` of the source.
int MessageAt(const Catalogue& catalogue, const dbxtest::DamagedSource& source,
              std::int64_t position) {
  if (auto run = source.RunAt(position, kBlockSize))
    return catalogue.AtBlock(run->file, run->file_offset + (position - run->position));
  return -1;
}

// salvora's lines: live and deleted ones give a data offset in the folder file, found ones the
// position of the first block in the source.
Tally CountSalvora(const fs::path& dump, const Catalogue& catalogue,
                   const dbxtest::DamagedSource& source) {
  Tallier tallier(catalogue);
  std::istringstream lines(FileBytes(dump));
  for (std::string text; std::getline(lines, text);) {
    std::istringstream in(text);
    std::string kind, sha;
    std::int64_t info = 0, offset = 0, attr = 0, length = 0;
    if (!(in >> kind >> info >> offset >> attr >> length >> sha) ||
        (kind != "live" && kind != "deleted" && kind != "found"))
      continue;
    std::set<int> whole_of, owners;
    for (int id : catalogue.WithSha(sha)) {
      owners.insert(id);
      if (catalogue.SalvoraSha(id) == sha)
        whole_of.insert(id);
    }
    if (owners.empty()) {
      int id = MessageAt(catalogue, source, offset);
      if (id < 0 && kind != "found")
        id = catalogue.AtBlock(0, offset);
      if (id >= 0)
        owners.insert(id);
    }
    tallier.Text(whole_of, owners);
  }
  return tallier.Done();
}

// undbx's files: every regular file it wrote under `folder`. undbx ends each file's name with
// the position of the text's first block in the source, in hex, before ".eml".
Tally CountUndbx(const fs::path& folder, const Catalogue& catalogue,
                 const dbxtest::DamagedSource& source) {
  Tallier tallier(catalogue);
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file())
      continue;
    const std::string bytes = FileBytes(entry.path());
    const std::set<int> whole_of = catalogue.WithSha(platform::Sha256Hex(bytes));
    std::set<int> owners = catalogue.OwningLines(bytes);
    owners.insert(whole_of.begin(), whole_of.end());
    const std::string stem = entry.path().stem().string();
    const std::string hex = stem.substr(stem.rfind('.') + 1);
    if (hex.size() == 16 && hex.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos)
      if (int id = MessageAt(catalogue, source, std::stoll(hex, nullptr, 16)); id >= 0)
        owners.insert(id);
    tallier.Text(whole_of, owners);
  }
  return tallier.Done();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string g_undbx = "undbx";

void RecoveryPerClass(const fs::path& folder) {
  const dbxtest::GeneratedStore first = dbxtest::GenerateStore(1, 1800, "inbox");
  const dbxtest::GeneratedStore second = dbxtest::GenerateStore(2, 700, "sent");
  const Catalogue catalogue({&first, &second});
  auto deleted = [](const dbxtest::GeneratedStore& store) {
    return std::count_if(store.messages.begin(), store.messages.end(),
                         [](const auto& m) { return m.deleted; });
  };
  std::printf("stores: %zu messages (%ld deleted), %.1f MB; %zu messages (%ld deleted), %.1f MB\n",
              first.messages.size(), static_cast<long>(deleted(first)),
              static_cast<double>(first.bytes.size()) / 1e6, second.messages.size(),
              static_cast<long>(deleted(second)), static_cast<double>(second.bytes.size()) / 1e6);

  std::vector<std::string> names;
  for (const auto& damage : dbxtest::DamageCases())
    if (damage.damage != dbxtest::Damage::FatImageOfTwo &&
        damage.name != std::string("head_cut_100003"))
      names.push_back(damage.name);
  names.push_back("fat_image_of_two");

  std::printf("\n%-24s %9s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "class", "surviving",
              "salvora", "undbx", "salvora", "undbx", "salvora", "undbx", "salvora", "undbx",
              "salvora", "undbx");
  std::printf("%-24s %9s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "", "", "whole", "whole",
              "twice", "twice", "pieces", "pieces", "no msg", "no msg", "texts", "texts");
  struct Deleted {
    std::string name;
    int surviving;
    int salvora;
    int undbx;
  };
  std::vector<Deleted> deleted_rows;
  int turn = 0;
  for (const std::string& name : names) {
    dbxtest::DamagedSource source;
    int files = 1;
    if (name == "fat_image_of_two") {
      const std::int64_t total =
          static_cast<std::int64_t>(first.bytes.size() + second.bytes.size());
      source = dbxtest::FatImageWithDeletedFiles({first.bytes, second.bytes}, 12,
                                                 ((total * 3 >> 20) + 1) << 20);
      files = 2;
    } else {
      for (const auto& damage : dbxtest::DamageCases())
        if (damage.name == name) {
          source = dbxtest::MakeDamaged(damage, first.bytes, second.bytes);
          files = dbxtest::HoldsTwoFiles(damage.damage) ? 2 : 1;
        }
    }
    int surviving = 0, surviving_deleted = 0;
    for (int f = 0; f < files; ++f)
      for (const auto& message : (f == 0 ? first : second).messages)
        if (source.Survives(f, message)) {
          ++surviving;
          surviving_deleted += message.deleted;
        }

    const fs::path work = folder / name;
    fs::create_directories(work);
    const fs::path file = work / (name + ".dbx");
    WriteFile(file, source.bytes);
    const fs::path dump = work / "dump.txt", out = work / "undbx";
    fs::create_directories(out);
    auto salvora = [&] {
      Run run = Spawn({SALVORA_PROGRAM, "dump", "--deep", file.string()}, dump.string());
      if (run.status != 0)
        std::fprintf(stderr, "salvora exited %d on %s\n", run.status, name.c_str());
    };
    auto undbx = [&] {
      Run run = Spawn({g_undbx, "-r", file.string(), out.string()}, "/dev/null");
      if (run.status != 0)
        std::fprintf(stderr, "undbx exited %d on %s\n", run.status, name.c_str());
    };
    if (turn++ % 2 == 0) {
      salvora();
      undbx();
    } else {
      undbx();
      salvora();
    }
    const Tally s = CountSalvora(dump, catalogue, source);
    const Tally u = CountUndbx(out, catalogue, source);
    fs::remove_all(work);
    std::printf("%-24s %9d %8d %8d %8d %8d %8d %8d %8d %8d %8d %8d\n", name.c_str(), surviving,
                s.whole, u.whole, s.twice, u.twice, s.pieces, u.pieces, s.no_message, u.no_message,
                s.texts, u.texts);
    std::fflush(stdout);
    deleted_rows.push_back({name, surviving_deleted, s.whole_deleted, u.whole_deleted});
  }
  std::printf("\nof which deleted messages:\n%-24s %9s %8s %8s\n", "class", "surviving", "salvora",
              "undbx");
  for (const Deleted& row : deleted_rows)
    std::printf("%-24s %9d %8d %8d\n", row.name.c_str(), row.surviving, row.salvora, row.undbx);
}

struct Image {
  std::int64_t copies = 0, noise = 0;
};

Image WriteImage(const fs::path& image, std::int64_t image_mib,
                 const dbxtest::GeneratedStore& store) {
  const std::int64_t size = image_mib << 20;
  const auto store_size = static_cast<std::int64_t>(store.bytes.size());
  std::int64_t copies = 0, noise = 0;
  {
    // Copies of the store, each behind a gap of noise of up to 2 MiB, one gap in three a
    // whole number of sectors, the others of any length.
    std::ofstream out(image, std::ios::binary | std::ios::trunc);
    std::mt19937 random(99);
    std::int64_t written = 0;
    for (;;) {
      std::int64_t gap = 1 + static_cast<std::int64_t>(random() % (2 << 20));
      if (copies % 3 == 0)
        gap = (gap + 511) / 512 * 512;
      if (written + gap + store_size > size)
        break;
      const std::string bytes = Noise(gap, random);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.write(store.bytes.data(), static_cast<std::streamsize>(store_size));
      written += gap + store_size;
      noise += gap;
      ++copies;
    }
    const std::string tail = Noise(size - written, random);
    out.write(tail.data(), static_cast<std::streamsize>(tail.size()));
    noise += size - written;
    if (!out)
      throw std::runtime_error("cannot write the image");
  }
  return {copies, noise};
}

void SpeedAndMemory(const fs::path& folder, std::int64_t image_mib) {
  const dbxtest::GeneratedStore store = dbxtest::GenerateStore(1, 1800, "inbox");
  std::int64_t store_blocks = 0;
  for (const auto& message : store.messages)
    store_blocks += static_cast<std::int64_t>(message.blocks.size());
  const auto store_size = static_cast<std::int64_t>(store.bytes.size());
  const fs::path image = folder / "image.dbx"; // undbx reads only files named *.dbx
  const auto [copies, noise] = WriteImage(image, image_mib, store);
  std::printf("\nimage: %lld MiB, %lld copies of the 1,800-message store (%.1f MB, %lld blocks "
              "each), %.1f MiB of noise\n",
              static_cast<long long>(image_mib), static_cast<long long>(copies),
              static_cast<double>(store_size) / 1e6, static_cast<long long>(store_blocks),
              static_cast<double>(noise) / (1 << 20));

  Spawn({"cat", image.string()}, "/dev/null"); // the warm-up read into the page cache
  const fs::path out = folder / "undbx";
  // The search alone, as the scan runs it: this program's --search runs the deep scan on the
  // image in a process of its own; a tiny file gives its base memory.
  const fs::path tiny = folder / "tiny.dbx";
  WriteFile(tiny, std::string(4096, 'x'));
  const fs::path search_out = folder / "search.txt";
  const double search_base_kib = static_cast<double>(
      Spawn({"/proc/self/exe", "--search", tiny.string()}, search_out.string()).peak_kib);
  std::vector<double> cat_s, salvora_s, undbx_s, salvora_kib, undbx_kib, version_kib, search_s,
      search_kib;
  for (int round = 0; round < 3; ++round) {
    std::vector<int> order = {0, 1, 2, 3};
    std::rotate(order.begin(), order.begin() + round, order.end());
    for (int which : order) {
      if (which == 0) {
        cat_s.push_back(Spawn({"cat", image.string()}, "/dev/null").seconds);
      } else if (which == 3) {
        const Run run = Spawn({"/proc/self/exe", "--search", image.string()}, search_out.string());
        search_s.push_back(run.seconds);
        search_kib.push_back(static_cast<double>(run.peak_kib));
      } else if (which == 1) {
        const Run run = Spawn({SALVORA_PROGRAM, "dump", "--deep", image.string()}, "/dev/null");
        salvora_s.push_back(run.seconds);
        salvora_kib.push_back(static_cast<double>(run.peak_kib));
      } else {
        fs::remove_all(out);
        fs::create_directories(out);
        const Run run = Spawn({g_undbx, "-r", image.string(), out.string()}, "/dev/null");
        undbx_s.push_back(run.seconds);
        undbx_kib.push_back(static_cast<double>(run.peak_kib));
      }
    }
    version_kib.push_back(
        static_cast<double>(Spawn({SALVORA_PROGRAM, "--version"}, "/dev/null").peak_kib));
  }
  std::int64_t undbx_files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out))
    undbx_files += entry.is_regular_file();
  fs::remove_all(out);

  // The blocks salvora found, from one more run whose lines are kept: each text of n bytes
  // stood in ceil(n / 512) blocks.
  const fs::path dump = folder / "dump.txt";
  Spawn({SALVORA_PROGRAM, "dump", "--deep", image.string()}, dump.string());
  std::int64_t blocks_found = 0, texts = 0;
  {
    std::ifstream lines(dump);
    for (std::string text; std::getline(lines, text);) {
      std::istringstream in(text);
      std::string kind;
      std::int64_t info = 0, offset = 0, attr = 0, length = 0;
      if (in >> kind >> info >> offset >> attr >> length &&
          (kind == "live" || kind == "deleted" || kind == "found")) {
        ++texts;
        blocks_found += std::max<std::int64_t>(1, (length + kBlockTextSize - 1) / kBlockTextSize);
      }
    }
  }
  fs::remove(dump);

  std::int64_t search_messages = 0, search_blocks = 0;
  std::ifstream(search_out) >> search_messages >> search_blocks;
  fs::remove(search_out);
  fs::remove(tiny);

  const double mib = static_cast<double>(image_mib);
  const double cat = Median(cat_s), salvora = Median(salvora_s), undbx = Median(undbx_s);
  const double search = Median(search_s);
  std::printf("\n%-40s %9s %9s %9s\n", "command (3 runs each, alternating)", "median s", "MiB/s",
              "peak MiB");
  std::printf("%-40s %9.2f %9.0f %9s\n", "cat IMAGE > /dev/null", cat, mib / cat, "-");
  std::printf("%-40s %9.2f %9.0f %9.1f\n", "salvora dump --deep IMAGE > /dev/null", salvora,
              mib / salvora, Median(salvora_kib) / 1024);
  std::printf("%-40s %9.2f %9.0f %9.1f\n", "deep scan alone (the search)", search, mib / search,
              Median(search_kib) / 1024);
  std::printf("%-40s %9.2f %9.0f %9.1f\n", "undbx -r IMAGE OUTDIR", undbx, mib / undbx,
              Median(undbx_kib) / 1024);
  std::printf("%-40s %9s %9s %9.1f\n", "salvora --version", "-", "-", Median(version_kib) / 1024);
  std::printf("\ndeep scan speed / sequential read speed: %.2f (goal >= 0.5)\n", cat / search);
  std::printf("salvora dump speed / sequential read speed: %.2f\n", cat / salvora);
  std::printf("salvora speed / undbx speed: %.2f\n", undbx / salvora);
  std::printf("salvora texts: %lld in %lld blocks (blocks in the image: %lld); undbx files: %lld\n",
              static_cast<long long>(texts), static_cast<long long>(blocks_found),
              static_cast<long long>(copies * store_blocks), static_cast<long long>(undbx_files));
  const double per_block =
      (Median(salvora_kib) - Median(version_kib)) * 1024 / static_cast<double>(blocks_found);
  std::printf("salvora peak memory above its base, per block found: %.1f bytes\n", per_block);
  std::printf("deep scan: %lld messages in %lld blocks; peak memory above its base (%.1f MiB) "
              "per block found: %.1f bytes (goal <= 32)\n",
              static_cast<long long>(search_messages), static_cast<long long>(search_blocks),
              search_base_kib / 1024,
              (Median(search_kib) - search_base_kib) * 1024 / static_cast<double>(search_blocks));
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--search") {
    platform::SetFileOpener(&platform::OpenExclusiveForReading);
    std::vector<uoexpress::Toe5_FoundMessage> found;
    uoexpress::ReadFoundMessageInfos(argv[2], {}, found);
    std::int64_t blocks = 0;
    for (const auto& message : found)
      blocks += message.BlockCount;
    std::printf("%zu %lld\n", found.size(), static_cast<long long>(blocks));
    return 0;
  }
  if (argc == 4 && std::string(argv[1]) == "--write-image") { // for profiling the search
    WriteImage(argv[2], std::stoll(argv[3]), dbxtest::GenerateStore(1, 1800, "inbox"));
    return 0;
  }
  if (argc > 5 && std::string(argv[1]) == "--measure") {
    const Run run = SpawnHere(std::vector<std::string>(argv + 5, argv + argc), argv[3], argv[4]);
    std::ofstream(argv[2]) << std::setprecision(9) << run.seconds << ' ' << run.peak_kib << ' '
                           << run.status << '\n';
    return 0;
  }
  std::int64_t image_mib = 1024;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--image-mib")
      image_mib = std::stoll(argv[i + 1]);
    else if (option == "--only")
      only = argv[i + 1];
    else if (option == "--undbx")
      g_undbx = argv[i + 1];
  }
  g_folder = fs::temp_directory_path() / ("salvora-peer-bench-" + std::to_string(::getpid()));
  const fs::path& folder = g_folder;
  fs::remove_all(folder);
  fs::create_directories(folder);
  int status = 0;
  try {
    if (only.empty() || only == "recovery")
      RecoveryPerClass(folder);
    if (only.empty() || only == "speed")
      SpeedAndMemory(folder, image_mib);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    status = 1;
  }
  fs::remove_all(folder);
  return status;
}
