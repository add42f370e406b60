// SPDX-License-Identifier: MIT
#include "damaged_sources.h"

#include "dbx_writer.h"
#include "store/uoexpress.h"
#include "temp_store.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <stdexcept>
#include <tuple>

namespace dbxtest {
namespace {

namespace fs = std::filesystem;

constexpr int kLongestChain = 40;

// Raw draws only: the standard distributions and std::shuffle differ between libraries, and
// the sources must be the same everywhere.
std::size_t Below(std::mt19937& random, std::size_t bound) {
  return static_cast<std::size_t>(random()) % bound;
}

template <typename T> void Shuffle(std::vector<T>& items, std::mt19937& random) {
  for (std::size_t i = items.size(); i > 1; --i)
    std::swap(items[i - 1], items[Below(random, i)]);
}

std::int32_t Int32At(const std::string& bytes, std::int64_t offset) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  return static_cast<std::int32_t>(value);
}

const char* const kWords[] = {"the",    "report",  "meeting", "tomorrow", "invoice",  "attached",
                              "please", "review",  "project", "draft",    "agenda",   "thanks",
                              "budget", "office",  "client",  "weekend",  "schedule", "notes",
                              "call",   "figures", "regards", "about",    "before",   "after"};

// A line no other line of any store repeats: it names its message and its number.
std::string Line(std::mt19937& random, const std::string& id, int number) {
  // No colon: a freed block whose text went on "word: " would begin like a freed message's
  // first block, whose "From: " the chain link overwrote to "____: ".
  std::string line = id + " line " + std::to_string(number) + ",";
  const std::size_t length = 40 + Below(random, 36);
  while (line.size() < length)
    line += std::string(" ") + kWords[Below(random, std::size(kWords))];
  return line + "\r\n";
}

std::string Base64Line(std::mt19937& random) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string line(76, 'A');
  for (char& c : line)
    c = kAlphabet[Below(random, 64)];
  return line + "\r\n";
}

std::string MessageText(std::mt19937& random, const std::string& id, int i, std::size_t size,
                        bool attachment) {
  const std::string who = std::to_string(Below(random, 97));
  std::string text = "From: \"Sender " + who + "\" <sender" + who +
                     "@example.com>\r\nSubject: " + id + " message " + std::to_string(i) +
                     "\r\nMessage-ID: <" + id +
                     "@mail.example.com>\r\nTo: reader@example.org\r\n"
                     "Date: Mon, 3 Mar 2003 10:20:30 +0100\r\nMIME-Version: 1.0\r\n";
  int line = 0;
  if (attachment) {
    const std::string boundary = "=_" + id;
    text += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n--" + boundary +
            "\r\nContent-Type: text/plain\r\n\r\n";
    for (int k = 0; k < 3; ++k)
      text += Line(random, id, line++);
    text += "--" + boundary + "\r\nContent-Type: application/octet-stream; name=\"" + id +
            ".bin\"\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    while (text.size() < size)
      text += Base64Line(random);
  } else {
    text += "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n\r\n";
    while (text.size() < size)
      text += Line(random, id, line++);
  }
  text.resize(size);
  return text;
}

std::vector<Placement> Merged(std::vector<Placement> runs) {
  std::sort(runs.begin(), runs.end(), [](const Placement& a, const Placement& b) {
    return std::tie(a.file, a.file_offset) < std::tie(b.file, b.file_offset);
  });
  std::vector<Placement> merged;
  for (const Placement& run : runs) {
    if (run.length <= 0)
      continue;
    if (!merged.empty()) {
      Placement& last = merged.back();
      if (last.file == run.file && last.file_offset + last.length == run.file_offset &&
          last.position + last.length == run.position) {
        last.length += run.length;
        continue;
      }
    }
    merged.push_back(run);
  }
  return merged;
}

// Every run of the map holds the bytes of the file it names.
DamagedSource Checked(DamagedSource source, const std::vector<const std::string*>& files) {
  const auto size = static_cast<std::int64_t>(source.bytes.size());
  for (const Placement& run : source.placements) {
    const bool inside =
        run.file >= 0 && run.file < static_cast<int>(files.size()) && run.file_offset >= 0 &&
        run.position >= 0 && run.position + run.length <= size &&
        run.file_offset + run.length <= static_cast<std::int64_t>(files[run.file]->size());
    if (!inside || source.bytes.compare(static_cast<std::size_t>(run.position),
                                        static_cast<std::size_t>(run.length), *files[run.file],
                                        static_cast<std::size_t>(run.file_offset),
                                        static_cast<std::size_t>(run.length)) != 0)
      throw std::logic_error("the map of a damaged source does not match its bytes at " +
                             std::to_string(run.position));
  }
  return source;
}

// Where a FAT file system keeps its clusters, from its boot sector.
struct FatGeometry {
  std::int64_t cluster_size = 0;
  std::int64_t data_start = 0;
  std::int64_t clusters = 0;

  std::int64_t ClusterPosition(std::int64_t cluster) const {
    return data_start + (cluster - 2) * cluster_size;
  }
};

FatGeometry ReadFatGeometry(const std::string& image) {
  if (image.size() < 512)
    throw std::runtime_error("no boot sector");
  auto u8 = [&](std::size_t at) { return static_cast<std::int64_t>(image[at] & 0xFF); };
  auto u16 = [&](std::size_t at) { return u8(at) | u8(at + 1) << 8; };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  const std::int64_t sector = u16(11);
  const std::int64_t per_cluster = u8(13);
  const std::int64_t reserved = u16(14);
  const std::int64_t fats = u8(16);
  const std::int64_t root_entries = u16(17);
  const std::int64_t total = u16(19) != 0 ? u16(19) : u32(32);
  const std::int64_t fat_size = u16(22) != 0 ? u16(22) : u32(36);
  if (sector == 0 || per_cluster == 0)
    throw std::runtime_error("not a FAT boot sector");
  const std::int64_t root_sectors = (root_entries * 32 + sector - 1) / sector;
  const std::int64_t data_sectors = reserved + fats * fat_size + root_sectors;
  FatGeometry geometry;
  geometry.cluster_size = sector * per_cluster;
  geometry.data_start = data_sectors * sector;
  geometry.clusters = (total - data_sectors) / per_cluster;
  return geometry;
}

// mshowfat lists a file's clusters as runs, "<first-last>" or "<cluster>".
std::vector<std::int64_t> ClusterList(const std::string& listing) {
  std::vector<std::int64_t> clusters;
  for (std::size_t open = listing.find('<'); open != std::string::npos;
       open = listing.find('<', open + 1)) {
    const std::size_t close = listing.find('>', open);
    if (close == std::string::npos)
      break;
    const std::string run = listing.substr(open + 1, close - open - 1);
    const std::size_t dash = run.find('-');
    const std::int64_t first = std::stoll(run.substr(0, dash));
    const std::int64_t last = dash == std::string::npos ? first : std::stoll(run.substr(dash + 1));
    for (std::int64_t cluster = first; cluster <= last; ++cluster)
      clusters.push_back(cluster);
  }
  return clusters;
}

// A scratch folder removed with everything in it.
class ScratchDir {
public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() / ("salvora-fat-" + std::to_string(std::random_device{}()) +
                                         "-" + std::to_string(counter++));
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const fs::path& path() const { return path_; }

private:
  fs::path path_;
};

std::string FillerName(std::size_t i) {
  std::string digits = std::to_string(i);
  return "F" + std::string(digits.size() < 5 ? 5 - digits.size() : 0, '0') + digits + ".TXT";
}

} // namespace

std::string Noise(std::int64_t size, std::mt19937& random) {
  std::string bytes(static_cast<std::size_t>(size), '\0');
  for (std::size_t i = 0; i < bytes.size(); i += 4) {
    const std::uint32_t word = random();
    for (std::size_t k = 0; k < 4 && i + k < bytes.size(); ++k)
      bytes[i + k] = static_cast<char>(word >> (8 * k));
  }
  return bytes;
}

// mkfs.vfat is often in sbin, off an ordinary user's path; mtools checks the geometry of a
// plain image file unless told not to.
const char kToolEnvironment[] = "MTOOLS_SKIP_CHECK=1 PATH=\"$PATH:/usr/sbin:/sbin\" ";

void RunTool(const std::string& command, const fs::path& log) {
  if (std::system((kToolEnvironment + command + " >" + Quoted(log) + " 2>&1").c_str()) != 0)
    throw std::runtime_error(command + " failed: " + FileBytes(log));
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

std::string Quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

GeneratedStore GenerateStore(std::uint32_t seed, int messages, const std::string& tag) {
  std::mt19937 random(seed);
  StoreBuilder builder;
  GeneratedStore store;
  std::vector<std::int32_t> first_blocks;
  for (int i = 0; i < messages; ++i) {
    const std::size_t kind = Below(random, 100);
    constexpr std::size_t kLongest = kLongestChain * kBlockTextSize;
    std::size_t size = kind < 20   ? 160 + Below(random, kBlockTextSize - 159)
                       : kind < 75 ? kBlockTextSize + 1 + Below(random, 5500)
                       : kind < 95 ? 6000 + Below(random, 10000)
                                   : 16000 + Below(random, kLongest - 15999);
    if (i % 13 == 0) // exactly filling its blocks
      size = (size + kBlockTextSize - 1) / kBlockTextSize * kBlockTextSize;
    if (i % 97 == 1)
      size = kLongest;
    const std::string id = tag + "." + std::to_string(i);
    GeneratedMessage message;
    message.written = MessageText(random, id, i, size, kind >= 75);
    MessageFields fields;
    fields.subject = id + " message " + std::to_string(i);
    fields.sender_name = "Sender";
    fields.sender_address = "sender@example.com";
    fields.recipient = "reader@example.org";
    fields.message_id = "<" + id + "@mail.example.com>";
    fields.date = 0x01C2E1A2B3C4D5E6 + static_cast<std::uint64_t>(i) * 600000000;
    const int index = builder.AddMessage(message.written, fields);
    first_blocks.push_back(builder.DataOffset(index));
    store.messages.push_back(std::move(message));
  }
  std::vector<int> deleted;
  for (int i = 0; i < messages; ++i)
    if (Below(random, 5) == 0)
      deleted.push_back(i);
  Shuffle(deleted, random);
  for (int i : deleted) {
    builder.DeleteMessage(i);
    store.messages[static_cast<std::size_t>(i)].deleted = true;
  }
  store.bytes = builder.Build(12).bytes();

  const auto size = static_cast<std::int64_t>(store.bytes.size());
  TempStore file(store.bytes);
  uoexpress::FolderFile folder(file.path());
  for (std::size_t i = 0; i < store.messages.size(); ++i) {
    GeneratedMessage& message = store.messages[i];
    for (std::int64_t block = first_blocks[i];
         block > 0 && block + kBlockSize <= size && message.blocks.size() <= kLongestChain;
         block = Int32At(store.bytes, block + 12))
      message.blocks.push_back(block);
    if (message.deleted)
      folder.ReadDeletedMessageText(first_blocks[i], message.text, true);
    else
      folder.ReadMessageText(first_blocks[i], message.text, true);
  }
  return store;
}

std::optional<std::int64_t> DamagedSource::PositionOf(int file, std::int64_t offset,
                                                      std::int64_t length) const {
  // The last run of `file` starting at or before `offset`.
  auto after = std::upper_bound(placements.begin(), placements.end(), std::pair{file, offset},
                                [](const std::pair<int, std::int64_t>& key, const Placement& run) {
                                  return key < std::pair{run.file, run.file_offset};
                                });
  if (after == placements.begin())
    return std::nullopt;
  const Placement& run = *std::prev(after);
  if (run.file != file || offset + length > run.file_offset + run.length)
    return std::nullopt;
  return run.position + (offset - run.file_offset);
}

std::optional<Placement> DamagedSource::RunAt(std::int64_t position, std::int64_t length) const {
  for (const Placement& run : placements)
    if (run.position <= position && position + length <= run.position + run.length)
      return run;
  return std::nullopt;
}

bool DamagedSource::Survives(int file, const GeneratedMessage& message) const {
  return std::all_of(message.blocks.begin(), message.blocks.end(), [&](std::int64_t block) {
    return PositionOf(file, block, kBlockSize).has_value();
  });
}

DamagedSource WithinNoise(const std::vector<std::string>& files,
                          const std::vector<std::int64_t>& positions, std::int64_t size,
                          std::uint32_t seed) {
  std::mt19937 random(seed);
  DamagedSource source;
  source.bytes = Noise(size, random);
  std::vector<const std::string*> named;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto length = static_cast<std::int64_t>(files[i].size());
    if (positions.at(i) < 0 || positions[i] + length > size)
      throw std::invalid_argument("a file beyond the source");
    std::copy(files[i].begin(), files[i].end(), source.bytes.begin() + positions[i]);
    source.placements.push_back({static_cast<int>(i), 0, positions[i], length});
    named.push_back(&files[i]);
  }
  source.placements = Merged(std::move(source.placements));
  return Checked(std::move(source), named);
}

DamagedSource WithHeadCut(const std::string& file, std::int64_t cut) {
  const auto size = static_cast<std::int64_t>(file.size());
  if (cut < 0 || cut > size)
    throw std::invalid_argument("a cut beyond the file");
  DamagedSource source;
  source.bytes = file.substr(static_cast<std::size_t>(cut));
  source.placements = Merged({{0, cut, 0, size - cut}});
  return Checked(std::move(source), {&file});
}

DamagedSource WithClustersShuffled(const std::string& file, std::int64_t cluster, int longest_run,
                                   std::uint32_t seed) {
  std::mt19937 random(seed);
  const auto size = static_cast<std::int64_t>(file.size());
  std::vector<std::pair<std::int64_t, std::int64_t>> runs; // file offset, length
  for (std::int64_t at = 0; at < size;) {
    const auto clusters = static_cast<std::int64_t>(1 + Below(random, longest_run));
    const std::int64_t length = std::min(clusters * cluster, size - at);
    runs.emplace_back(at, length);
    at += length;
  }
  Shuffle(runs, random);
  DamagedSource source;
  for (const auto& [offset, length] : runs) {
    source.placements.push_back(
        {0, offset, static_cast<std::int64_t>(source.bytes.size()), length});
    source.bytes.append(file, static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
  }
  source.placements = Merged(std::move(source.placements));
  return Checked(std::move(source), {&file});
}

bool FatToolsAvailable() {
  static const bool available =
      std::system((std::string(kToolEnvironment) +
                   "sh -c 'command -v mkfs.vfat && command -v mcopy && command -v mdel && "
                   "command -v mshowfat' >/dev/null 2>&1")
                      .c_str()) == 0;
  return available;
}

DamagedSource FatImageWithDeletedFiles(const std::vector<std::string>& files, std::uint32_t seed,
                                       std::int64_t image_size) {
  std::mt19937 random(seed);
  ScratchDir scratch;
  const fs::path image = scratch.path() / "disk.img";
  const fs::path log = scratch.path() / "log.txt";
  const std::string on_image = " -i " + Quoted(image) + " ";
  RunTool("mkfs.vfat -C -S 512 -s 8 -r 1024 -i 5A1F0DB5 " + Quoted(image) + " " +
              std::to_string(image_size / 1024),
          log);
  const FatGeometry geometry = ReadFatGeometry(FileBytes(image));

  // Small files filling the disk but for a few clusters, then every other one deleted: the
  // holes between the ones kept are where the folder files go. They go in a folder of their
  // own, as FAT12/16 holds only a fixed number of entries in its root folder.
  const fs::path fillers = scratch.path() / "fill";
  fs::create_directories(fillers);
  std::string deletions;
  std::int64_t used = 0;
  for (std::size_t i = 0;; ++i) {
    const auto clusters = static_cast<std::int64_t>(1 + Below(random, 8));
    // Room is left for the folder's own entries.
    if (used + clusters > geometry.clusters - 64)
      break;
    used += clusters;
    const std::int64_t bytes = (clusters - 1) * geometry.cluster_size + 1 +
                               static_cast<std::int64_t>(Below(random, geometry.cluster_size));
    WriteFile(fillers / FillerName(i), Noise(bytes, random));
    if (i % 2 == 1)
      deletions += " ::/FILL/" + FillerName(i);
  }
  RunTool("mmd" + on_image + "::/FILL", log);
  RunTool("mcopy" + on_image + Quoted(fillers) + "/* ::/FILL/", log);
  RunTool("mdel" + on_image + deletions, log);

  std::vector<std::vector<std::int64_t>> cluster_lists;
  std::string names;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string name = "FOLDER" + std::to_string(i + 1) + ".DBX";
    const fs::path local = scratch.path() / name;
    WriteFile(local, files[i]);
    RunTool("mcopy" + on_image + Quoted(local) + " ::/" + name, log);
    RunTool("mshowfat" + on_image + "::/" + name, log);
    cluster_lists.push_back(ClusterList(FileBytes(log)));
    names += " ::/" + name;
  }
  RunTool("mdel" + on_image + names, log);

  DamagedSource source;
  source.bytes = FileBytes(image);
  std::vector<const std::string*> named;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto size = static_cast<std::int64_t>(files[i].size());
    const std::vector<std::int64_t>& clusters = cluster_lists[i];
    if (static_cast<std::int64_t>(clusters.size()) !=
        (size + geometry.cluster_size - 1) / geometry.cluster_size)
      throw std::runtime_error("mshowfat listed " + std::to_string(clusters.size()) +
                               " clusters for a file of " + std::to_string(size) + " bytes");
    for (std::size_t k = 0; k < clusters.size(); ++k) {
      const std::int64_t offset = static_cast<std::int64_t>(k) * geometry.cluster_size;
      source.placements.push_back({static_cast<int>(i), offset,
                                   geometry.ClusterPosition(clusters[k]),
                                   std::min(geometry.cluster_size, size - offset)});
    }
    named.push_back(&files[i]);
  }
  source.placements = Merged(std::move(source.placements));
  return Checked(std::move(source), named);
}

const std::vector<DamageCase>& DamageCases() {
  static const std::vector<DamageCase> cases = {
      {"intact", Damage::Intact, 0},
      {"noise_1", Damage::NoiseBefore, 1},
      {"noise_3", Damage::NoiseBefore, 3},
      {"noise_517", Damage::NoiseBefore, 517},
      {"noise_1007", Damage::NoiseBefore, 1007},
      {"noise_512", Damage::NoiseBefore, 512},
      {"noise_4096", Damage::NoiseBefore, 4096},
      {"noise_8192", Damage::NoiseBefore, 8192},
      {"head_cut_192KiB", Damage::HeadCut, 192 * 1024},
      {"head_cut_100003", Damage::HeadCut, 100003},
      {"clusters_shuffled_seed7", Damage::ClustersShuffled, 7},
      {"clusters_shuffled_seed8", Damage::ClustersShuffled, 8},
      {"image_of_two", Damage::ImageOfTwo, 11},
      {"fat_image_of_two", Damage::FatImageOfTwo, 12},
  };
  return cases;
}

void PrintTo(const DamageCase& damage, std::ostream* out) {
  *out << damage.name;
}

bool HoldsTwoFiles(Damage damage) {
  return damage == Damage::ImageOfTwo || damage == Damage::FatImageOfTwo;
}

DamagedSource MakeDamaged(const DamageCase& damage, const std::string& first,
                          const std::string& second) {
  const auto seed = static_cast<std::uint32_t>(damage.amount);
  switch (damage.damage) {
  case Damage::Intact:
    return WithinNoise({first}, {0}, static_cast<std::int64_t>(first.size()), 0);
  case Damage::NoiseBefore:
    return WithinNoise({first}, {damage.amount},
                       damage.amount + static_cast<std::int64_t>(first.size()), seed);
  case Damage::HeadCut:
    return WithHeadCut(first, damage.amount);
  case Damage::ClustersShuffled:
    return WithClustersShuffled(first, 4096, 8, seed);
  case Damage::ImageOfTwo: {
    // The first file on a sector, the second on no boundary at all.
    const std::int64_t at_first = 512 * 1231;
    const std::int64_t first_end = at_first + static_cast<std::int64_t>(first.size());
    const std::int64_t at_second = (first_end + 511) / 512 * 512 + 300007;
    const std::int64_t size = at_second + static_cast<std::int64_t>(second.size()) + 200000;
    return WithinNoise({first, second}, {at_first, at_second}, size, seed);
  }
  case Damage::FatImageOfTwo:
    return FatImageWithDeletedFiles({first, second}, seed);
  }
  throw std::invalid_argument("unknown damage");
}

} // namespace dbxtest
