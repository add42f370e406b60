// SPDX-License-Identifier: MIT
// Damaged sources for judging the deep scan: realistic folder files together with the text
// each of their messages reads back as, and sources built from them the way folder files turn
// up to be rescued (behind other bytes, without their head, with their clusters moved, inside
// a disk image, as deleted files of a FAT file system). Each source comes with the map of where
// every run of a folder file's bytes that survived whole stands in it, which tells what a
// perfect scan would give back. Everything is deterministic from its seed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace dbxtest {

struct GeneratedMessage {
  std::string written;              // the text the message was stored with
  std::string text;                 // what the store's own readers give back, in full
  std::vector<std::int64_t> blocks; // file offsets of its data blocks, in chain order
  bool deleted = false;
};

struct GeneratedStore {
  std::string bytes;
  std::vector<GeneratedMessage> messages;
};

// A folder file of `messages` messages of 1 to 40 blocks (letters, a few one-block notes, some
// with base64 attachments, some exactly filling their blocks), about one in five deleted in a
// shuffled order. `tag` goes into every Message-ID, subject and line, so stores made with
// different tags share no text and no two lines of a store are alike.
GeneratedStore GenerateStore(std::uint32_t seed, int messages, const std::string& tag);

// A run of a folder file's bytes standing whole in a source.
struct Placement {
  int file = 0; // which of the folder files the source was built from
  std::int64_t file_offset = 0;
  std::int64_t position = 0; // where the run stands in the source
  std::int64_t length = 0;
};

struct DamagedSource {
  std::string bytes;
  // Sorted by file and file offset; a run that goes on where the one before it ends is one.
  std::vector<Placement> placements;

  // Where bytes [offset, offset + length) of `file` stand together in the source.
  std::optional<std::int64_t> PositionOf(int file, std::int64_t offset, std::int64_t length) const;
  // The run holding source bytes [position, position + length), if any.
  std::optional<Placement> RunAt(std::int64_t position, std::int64_t length) const;
  // Whether every block of a message stands whole in the source.
  bool Survives(int file, const GeneratedMessage& message) const;
};

// Each source checks its map against the bytes it was built from before it is returned, and
// throws std::logic_error when they differ.

// `files` at `positions` in `size` bytes of noise.
DamagedSource WithinNoise(const std::vector<std::string>& files,
                          const std::vector<std::int64_t>& positions, std::int64_t size,
                          std::uint32_t seed);
// The file without its first `cut` bytes.
DamagedSource WithHeadCut(const std::string& file, std::int64_t cut);
// The file in clusters of `cluster` bytes, cut into runs of 1 to `longest_run` clusters that
// are put in a shuffled order.
DamagedSource WithClustersShuffled(const std::string& file, std::int64_t cluster, int longest_run,
                                   std::uint32_t seed);

// Whether mkfs.vfat and mtools can be run.
bool FatToolsAvailable();
// A FAT image of `image_size` bytes with 4 KiB clusters: filled with small files, every other
// one deleted, then `files` copied in (they fragment into the holes), their cluster lists read,
// and deleted too. Throws std::runtime_error when a tool fails.
DamagedSource FatImageWithDeletedFiles(const std::vector<std::string>& files, std::uint32_t seed,
                                       std::int64_t image_size = std::int64_t{8} << 20);

// The damage classes the deep scan is judged on. `amount` is the noise's length, the bytes
// cut or the seed. The two-file classes hold `first` as file 0 and `second` as file 1, the
// others `first` alone.
enum class Damage { Intact, NoiseBefore, HeadCut, ClustersShuffled, ImageOfTwo, FatImageOfTwo };
struct DamageCase {
  const char* name;
  Damage damage;
  std::int64_t amount;
};
const std::vector<DamageCase>& DamageCases();
void PrintTo(const DamageCase& damage, std::ostream* out);
bool HoldsTwoFiles(Damage damage);
DamagedSource MakeDamaged(const DamageCase& damage, const std::string& first,
                          const std::string& second);

// Whole files read and written, and a path quoted for the shell: for the tests and benchmarks
// that run programs on the sources.
std::string FileBytes(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string Quoted(const std::filesystem::path& path);
// Random bytes, as a disk holds around the files a test places.
std::string Noise(std::int64_t size, std::mt19937& random);
// Runs a shell command of the FAT tools (mkfs.vfat, mtools), its output into `log`; throws
// with that output when it fails.
void RunTool(const std::string& command, const std::filesystem::path& log);

} // namespace dbxtest
