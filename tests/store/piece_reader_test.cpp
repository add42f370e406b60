// SPDX-License-Identifier: MIT
#include "dbx_writer.h"
#include "platform/exclusive_file.h"
#include "platform/pump.h"
#include "platform/random_access_file.h"
#include "store/block_frames.h"
#include "store/piece_reader.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using uoexpress::DbxStream;
using uoexpress::PieceReader;
using Range = std::pair<std::int64_t, std::int64_t>; // offset, length

// No zero bytes, so a byte zeroed by mistake shows.
char ByteAt(std::int64_t offset) {
  return static_cast<char>(1 + (offset * 131 + offset / 509) % 255);
}

std::string Content(std::int64_t size) {
  std::string content(static_cast<std::size_t>(size), '\0');
  for (std::int64_t i = 0; i < size; ++i)
    content[static_cast<std::size_t>(i)] = ByteAt(i);
  return content;
}

// A file whose `bad` ranges cannot be read. A read stops at the first bad byte, as pread does,
// or with `whole_read_fails` fails with nothing read, as ReadFile does. A read that covers
// `throw_at` throws `thrown`.
class FaultyFile final : public platform::RandomAccessFile {
public:
  enum class Throw { Nothing, RuntimeError, BadAlloc };
  static inline std::int64_t size = 0;
  static inline std::vector<Range> bad;
  static inline bool whole_read_fails = false;
  static inline std::int64_t throw_at = -1;
  static inline Throw thrown = Throw::Nothing;
  static inline const std::string* content = nullptr; // else ByteAt

  static std::unique_ptr<platform::RandomAccessFile> Open(const std::string&) {
    return std::make_unique<FaultyFile>();
  }

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t length) override {
    return ReadAtChecked(offset, buffer, length).got;
  }

  platform::ReadResult ReadAtChecked(std::int64_t offset, char* buffer,
                                     std::size_t length) override {
    if (offset < 0 || offset >= size)
      return {};
    const std::int64_t end = std::min(size, offset + static_cast<std::int64_t>(length));
    if (throw_at >= offset && throw_at < end) {
      if (thrown == Throw::BadAlloc)
        throw std::bad_alloc();
      throw std::runtime_error("the disk went away");
    }
    std::int64_t stop = end;
    for (auto [at, count] : bad)
      if (at < stop && at + count > offset)
        stop = std::max(at, offset);
    if (stop < end && whole_read_fails)
      return {0, true};
    for (std::int64_t i = offset; i < stop; ++i)
      buffer[i - offset] = content ? (*content)[static_cast<std::size_t>(i)] : ByteAt(i);
    return {static_cast<std::size_t>(stop - offset), stop < end};
  }

  std::int64_t Size() const override { return size; }
};

// Installs an opener for one test, and the plain one again after it, however it ends.
struct Opener {
  explicit Opener(platform::FileOpener opener) { platform::SetFileOpener(opener); }
  ~Opener() {
    platform::SetFileOpener(nullptr);
    FaultyFile::bad.clear();
    FaultyFile::whole_read_fails = false;
    FaultyFile::throw_at = -1;
    FaultyFile::thrown = FaultyFile::Throw::Nothing;
    FaultyFile::content = nullptr;
  }
};

struct Pass {
  std::vector<Range> reports;
  std::string mismatch; // the first piece byte that is not the file's, if any
};

// Reads every piece of `path` and checks each byte against the file's (zero when unreadable or
// past the end). Each report must come on this thread, in the call that hands out the first
// piece holding its bytes.
Pass ReadPieces(const std::string& path, std::int64_t size, std::int64_t end, std::int64_t piece,
                std::int64_t overlap, const std::vector<Range>& bad = {}) {
  Pass pass;
  DbxStream stream(path);
  std::int64_t handed = 0;
  const auto caller = std::this_thread::get_id();
  PieceReader pieces(stream, end, piece, overlap, [&](std::int64_t offset, std::int64_t length) {
    pass.reports.emplace_back(offset, length);
    std::int64_t holder = 0;
    while (offset >= holder * piece + std::min(piece, end) + overlap)
      ++holder;
    if (std::this_thread::get_id() != caller || holder != handed)
      pass.mismatch += "report of " + std::to_string(offset) + " came with piece " +
                       std::to_string(handed) + "; ";
  });
  const auto length = std::min(piece, end) + overlap;
  std::int64_t start = -1;
  for (const unsigned char* bytes; (bytes = pieces.Next(start)) != nullptr; ++handed) {
    if (start != handed * piece)
      return {pass.reports, "piece " + std::to_string(handed) + " starts wrong"};
    for (std::int64_t i = 0; i < length && pass.mismatch.empty(); ++i) {
      const std::int64_t at = start + i;
      const bool lost = std::any_of(bad.begin(), bad.end(), [&](const Range& range) {
        return at >= range.first && at < range.first + range.second;
      });
      const char expected = at < size && !lost ? ByteAt(at) : '\0';
      if (static_cast<char>(bytes[i]) != expected)
        pass.mismatch = "byte " + std::to_string(at) + " of piece " + std::to_string(handed);
    }
  }
  if (handed != (end + piece - 1) / piece)
    pass.mismatch += "handed out " + std::to_string(handed) + " pieces";
  return pass;
}

constexpr std::int64_t kPiece = 16384;
constexpr std::int64_t kOverlap = 528;
constexpr std::int64_t kSize = 3 * kPiece + 2000;

TEST(PieceReader, UnreadableBytesAreToldAndZeroedAndTheRestReadsBack) {
  constexpr std::int64_t P = kPiece, O = kOverlap;
  struct Case {
    const char* name;
    std::vector<Range> bad;
    std::vector<Range> reports;
  };
  const Case cases[] = {
      {"inside one piece", {{5120, 1024}}, {{5120, 1024}}},
      {"two ranges in one piece", {{1024, 512}, {8192, 512}}, {{1024, 512}, {8192, 512}}},
      {"across a page, merged", {{3584, 1024}}, {{3584, 1024}}},
      {"across pieces, inside the overlap", {{P - 512, 1024}}, {{P - 512, 1024}}},
      {"across pieces, past the overlap",
       {{P - 512, 2048}},
       {{P - 512, 512 + O}, {P + O, 1536 - O}}},
      {"in a piece's overlap", {{2 * P, 512}}, {{2 * P, 512}}},
      {"the end of the file", {{3 * P + 1536, 464}}, {{3 * P + 1536, 464}}},
      {"the whole file",
       {{0, kSize}},
       {{0, P + O}, {P + O, P}, {2 * P + O, P}, {3 * P + O, 2000 - O}}},
  };
  FaultyFile::size = kSize;
  for (bool whole_read_fails : {false, true})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (whole_read_fails ? ", whole reads fail" : ""));
      Opener opener(&FaultyFile::Open);
      FaultyFile::bad = c.bad;
      FaultyFile::whole_read_fails = whole_read_fails;
      const Pass pass = ReadPieces("faulty.dbx", kSize, kSize, P, O, c.bad);
      EXPECT_EQ(pass.mismatch, "");
      EXPECT_EQ(pass.reports, c.reports);
    }
}

TEST(PieceReader, OnlyTheRestOfAnUnreadableSectorIsLost) {
  // Where a read stops at the bad byte itself, the bytes before it in its sector are kept.
  Opener opener(&FaultyFile::Open);
  FaultyFile::size = kSize;
  FaultyFile::bad = {{4097, 1}, {kSize - 100, 100}};
  const Pass pass =
      ReadPieces("faulty.dbx", kSize, kSize, kPiece, kOverlap, {{4097, 511}, {kSize - 100, 100}});
  EXPECT_EQ(pass.mismatch, "");
  EXPECT_EQ(pass.reports, (std::vector<Range>{{4097, 511}, {kSize - 100, 100}}));
}

TEST(PieceReader, WhatTheReadingThreadThrowsComesOutOfNext) {
  struct Case {
    std::int64_t size;
    std::int64_t throw_at;
    FaultyFile::Throw thrown;
    int pieces_first; // handed out before the throw
  };
  const Case cases[] = {
      {kSize, 2 * kPiece + kOverlap + 10, FaultyFile::Throw::RuntimeError, 2},
      {kSize, 2 * kPiece + kOverlap + 10, FaultyFile::Throw::BadAlloc, 2},
      {kSize, 10, FaultyFile::Throw::RuntimeError, 0},
      {kPiece / 2, 10, FaultyFile::Throw::BadAlloc, 0}, // one piece, read on the caller's thread
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.throw_at);
    Opener opener(&FaultyFile::Open);
    FaultyFile::size = c.size;
    FaultyFile::throw_at = c.throw_at;
    FaultyFile::thrown = c.thrown;
    DbxStream stream("faulty.dbx");
    PieceReader pieces(stream, c.size, kPiece, kOverlap);
    std::int64_t start = 0;
    for (int i = 0; i < c.pieces_first; ++i)
      EXPECT_NE(pieces.Next(start), nullptr);
    for (int again = 0; again < 2; ++again) {
      if (c.thrown == FaultyFile::Throw::BadAlloc)
        EXPECT_THROW(pieces.Next(start), std::bad_alloc);
      else
        EXPECT_THROW(pieces.Next(start), std::runtime_error);
    }
  }
}

TEST(PieceReader, StoppingEarlyOrThrowingEndsTheReadingThread) {
  Opener opener(&FaultyFile::Open);
  FaultyFile::size = 40 * kPiece;
  DbxStream stream("faulty.dbx");
  for (int handed : {0, 1, 5}) {
    PieceReader pieces(stream, FaultyFile::size, kPiece, kOverlap);
    std::int64_t start = 0;
    for (int i = 0; i < handed; ++i)
      ASSERT_NE(pieces.Next(start), nullptr);
  }
  // A callback that throws is the caller throwing; its report is not told again.
  FaultyFile::bad = {{kPiece + 1024, 512}};
  std::vector<Range> reports;
  PieceReader pieces(stream, FaultyFile::size, kPiece, kOverlap,
                     [&](std::int64_t offset, std::int64_t length) {
                       reports.emplace_back(offset, length);
                       throw std::runtime_error("stop");
                     });
  std::int64_t start = -1;
  ASSERT_NE(pieces.Next(start), nullptr);
  EXPECT_THROW(pieces.Next(start), std::runtime_error);
  ASSERT_NE(pieces.Next(start), nullptr);
  EXPECT_EQ(start, kPiece);
  EXPECT_EQ(reports, (std::vector<Range>{{kPiece + 1024, 512}}));
}

// Pieces and overlaps of files around the piece size, read from a real file through both
// openers: the file's bytes, zero past its end, and nothing told of a short read at the end.
TEST(PieceReader, PiecesAndOverlapsAreTheFilesBytes) {
  constexpr std::int64_t P = 4096;
  const std::int64_t sizes[] = {1, P - 1, P, P + 1, 2 * P - 3, 2 * P, 3 * P + 1000};
  const auto path = (std::filesystem::temp_directory_path() / "salvora-piece-reader.bin").string();
  for (platform::FileOpener open :
       {&platform::OpenFileForReading, &platform::OpenExclusiveForReading})
    for (std::int64_t size : sizes) {
      std::ofstream(path, std::ios::binary | std::ios::trunc) << Content(size);
      for (std::int64_t overlap : {0, 4, 528, 5000})
        for (std::int64_t end : {size, size - 1}) {
          if (end <= 0)
            continue;
          SCOPED_TRACE(std::to_string(size) + " bytes to " + std::to_string(end) + ", overlap " +
                       std::to_string(overlap));
          Opener opener(open);
          const Pass pass = ReadPieces(path, size, end, P, overlap);
          EXPECT_EQ(pass.mismatch, "");
          EXPECT_TRUE(pass.reports.empty());
        }
    }
  std::filesystem::remove(path);
}

TEST(PieceReader, FilesPast4GiBHaveTheirSizeAndReadAtTheirEnd) {
  const auto path =
      (std::filesystem::temp_directory_path() / "salvora-piece-reader-4g.bin").string();
  constexpr std::int64_t kFar = (std::int64_t{1} << 32) + 4096;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.seekp(kFar);
    out << "far";
  }
  ASSERT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(kFar + 3));
  for (platform::FileOpener open :
       {&platform::OpenFileForReading, &platform::OpenExclusiveForReading}) {
    auto file = open(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Size(), kFar + 3);
    char bytes[8] = {};
    const platform::ReadResult read = file->ReadAtChecked(kFar, bytes, sizeof bytes);
    EXPECT_EQ(read.got, 3u);
    EXPECT_FALSE(read.failed);
    EXPECT_EQ(std::string(bytes, 3), "far");
  }
  std::filesystem::remove(path);
}

// The deep scan's pass reads a file's pieces in one lane or several, each on a thread of its
// own; whatever the lanes, the blocks come in source order (also those over a piece's end),
// unreadable bytes are told once each, in order, and every call comes on the caller's thread.
class BlockPass : public testing::Test {
protected:
  static constexpr std::int64_t P = 1 << 20; // the pass's piece
  static constexpr std::int64_t kSize = 5 * P + 3000;

  void SetUp() override {
    dbxtest::DbxImage image(kSize);
    for (std::int64_t at = 4096; at + 600 < kSize; at += 97 * 1024 + 13)
      placed_.push_back(at);
    for (std::int64_t k = 1; k < 5; ++k)
      placed_.push_back(k * P - 100 - 7 * k); // over a piece's end
    std::sort(placed_.begin(), placed_.end());
    for (std::int64_t at : placed_)
      image.Block(static_cast<std::int32_t>(at), 12, 0, "Subject: x\r\n");
    bytes_ = image.bytes();
    FaultyFile::size = kSize;
    FaultyFile::content = &bytes_;
  }

  struct Pass {
    std::vector<std::int64_t> positions;
    std::vector<Range> reports;
    std::int64_t last_progress = 0;
    bool whole = false;
    bool other_thread = false;
  };

  Pass Run(unsigned lanes, std::int64_t stop_at = -1) {
    Pass pass;
    const auto caller = std::this_thread::get_id();
    DbxStream stream("faulty");
    uoexpress::BlockFrames found;
    pass.whole = uoexpress::FindBlockFrames(
        stream, found,
        [&](std::int64_t scanned, std::int64_t) {
          pass.other_thread |= std::this_thread::get_id() != caller;
          pass.last_progress = scanned;
          if (stop_at >= 0 && scanned >= stop_at)
            platform::SetStopRequested(true);
        },
        [&](std::int64_t offset, std::int64_t length) {
          pass.other_thread |= std::this_thread::get_id() != caller;
          pass.reports.emplace_back(offset, length);
        },
        lanes);
    platform::SetStopRequested(false);
    for (std::size_t i = 0; i < found.size(); ++i)
      pass.positions.push_back(found[i].position);
    return pass;
  }

  Opener opener_{&FaultyFile::Open};
  std::string bytes_;
  std::vector<std::int64_t> placed_;
};

TEST_F(BlockPass, EveryLaneCountGivesTheSameBlocksAndReports) {
  // Unreadable sectors around a piece's end (read with both pieces) and inside a piece.
  FaultyFile::bad = {{2 * P - 512, 1024}, {4 * P + 8192, 512}};
  std::vector<std::int64_t> readable;
  for (std::int64_t at : placed_)
    if (std::none_of(FaultyFile::bad.begin(), FaultyFile::bad.end(), [&](const Range& bad) {
          return at < bad.first + bad.second && at + 528 > bad.first;
        }))
      readable.push_back(at);
  for (unsigned lanes : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(std::to_string(lanes) + " lanes");
    const Pass pass = Run(lanes);
    EXPECT_TRUE(pass.whole);
    EXPECT_EQ(pass.positions, readable);
    EXPECT_EQ(pass.reports, FaultyFile::bad);
    EXPECT_EQ(pass.last_progress, kSize);
    EXPECT_FALSE(pass.other_thread);
  }
}

TEST_F(BlockPass, StopKeepsThePiecesTakenAndWhatTheLanesThrowComesOut) {
  for (unsigned lanes : {1u, 3u}) {
    SCOPED_TRACE(std::to_string(lanes) + " lanes");
    const Pass stopped = Run(lanes, 2 * P);
    EXPECT_FALSE(stopped.whole);
    EXPECT_EQ(stopped.last_progress, 2 * P);
    ASSERT_FALSE(stopped.positions.empty());
    EXPECT_LT(stopped.positions.back(), 2 * P);
    EXPECT_GT(stopped.positions.back(), P);

    FaultyFile::throw_at = 3 * P + 10;
    EXPECT_THROW(Run(lanes), std::runtime_error);
    FaultyFile::throw_at = -1;
  }
}

#ifdef __linux__
// The status of a block device gives no size; both openers must find it all the same.
TEST(PieceReader, BlockDevicesHaveTheirSize) {
  for (const auto& entry : std::filesystem::directory_iterator("/sys/block")) {
    std::int64_t sectors = 0;
    std::ifstream(entry.path() / "size") >> sectors;
    const std::string device = "/dev/" + entry.path().filename().string();
    if (sectors <= 0 || !std::ifstream(device))
      continue;
    for (platform::FileOpener open :
         {&platform::OpenFileForReading, &platform::OpenExclusiveForReading}) {
      auto file = open(device);
      ASSERT_NE(file, nullptr) << device;
      EXPECT_EQ(file->Size(), sectors * 512) << device;
    }
    return;
  }
  GTEST_SKIP() << "no readable block device here";
}
#endif

} // namespace
