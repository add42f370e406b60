// Reading a file from start to end in large pieces, one piece ahead of the caller on a thread
// of its own, so that searching a piece costs little more than reading the file.
#pragma once

#include "dbx_stream.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace uoexpress {

// A lane reads every `stride`-th piece from piece `first` on, so that several lanes share one
// file's pieces.
struct PieceLane {
  std::int64_t first = 0;
  std::int64_t stride = 1;
};

class PieceReader {
public:
  // Told of `length` file bytes at `offset` that could not be read and read as zero.
  using UnreadableBytes = std::function<void(std::int64_t offset, std::int64_t length)>;

  // Pieces of `piece` bytes from 0 up to `end`, each followed by `overlap` bytes of the next
  // (bytes past the end of the file read as zero). A read error costs only the bytes that
  // cannot be read: `unreadable` hears of them inside Next, on the caller's thread, in file
  // order, before the piece holding them comes out. Adjacent unreadable bytes come as one
  // range, except that a range running past the end of a piece's bytes is told in parts.
  PieceReader(DbxStream& stream, std::int64_t end, std::int64_t piece, std::int64_t overlap,
              UnreadableBytes unreadable = nullptr, PieceLane lane = {});
  ~PieceReader();
  PieceReader(const PieceReader&) = delete;
  PieceReader& operator=(const PieceReader&) = delete;

  // The next piece, which stays valid until the next call; nullptr after the last one.
  // What the reading thread threw is thrown here, on this call and every later one.
  const unsigned char* Next(std::int64_t& start);

private:
  struct Range {
    std::int64_t offset;
    std::int64_t length;
  };
  struct Slot {
    std::vector<unsigned char> bytes;
    std::vector<Range> unreadable; // in file order, adjacent ones merged
  };

  void ReadAhead();
  void ReadPiece(std::int64_t index);
  void ReadWithRetries(std::int64_t offset, unsigned char* out, std::size_t size, std::size_t level,
                       std::vector<Range>& unreadable);
  void Report(const std::vector<Range>& unreadable);
  Slot& SlotFor(std::int64_t index) { return slots_[index % 2]; }
  std::int64_t StartOf(std::int64_t index) const {
    return (lane_.first + index * lane_.stride) * piece_;
  }

  DbxStream& stream_;
  const std::int64_t end_;
  const std::int64_t piece_;
  const PieceLane lane_;
  const std::int64_t pieces_; // of this lane
  const UnreadableBytes unreadable_;
  Slot slots_[2];
  std::int64_t next_ = 0;     // the piece Next() hands out next
  std::int64_t reported_ = 0; // unreadable bytes before this offset have been told

  // Shared with the reading thread.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::int64_t read_ = 0;     // pieces read so far
  std::int64_t released_ = 0; // pieces the caller is done with
  bool stopping_ = false;
  std::exception_ptr error_; // what stopped the reading thread
  std::thread thread_;
};

} // namespace uoexpress
