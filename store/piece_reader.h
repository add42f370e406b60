// Reading a file from start to end in large pieces, one piece ahead of the caller on a thread
// of its own, so that searching a piece costs little more than reading the file.
#pragma once

#include "dbx_stream.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace uoexpress {

class PieceReader {
public:
  // Pieces of `piece` bytes from 0 up to `end`, each followed by `overlap` bytes of the next
  // (bytes past the end of the file read as zero).
  PieceReader(DbxStream& stream, std::int64_t end, std::int64_t piece, std::int64_t overlap);
  ~PieceReader();
  PieceReader(const PieceReader&) = delete;
  PieceReader& operator=(const PieceReader&) = delete;

  // The next piece, which stays valid until the next call; nullptr after the last one.
  const unsigned char* Next(std::int64_t& start);

private:
  void ReadAhead();
  std::vector<unsigned char>& Buffer(std::int64_t index) { return buffers_[index % 2]; }

  DbxStream& stream_;
  const std::int64_t end_;
  const std::int64_t piece_;
  const std::int64_t pieces_;
  std::vector<unsigned char> buffers_[2];
  std::int64_t next_ = 0; // the piece Next() hands out next

  // Shared with the reading thread.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::int64_t read_ = 0;     // pieces read so far
  std::int64_t released_ = 0; // pieces the caller is done with
  bool stopping_ = false;
  std::thread thread_;
};

} // namespace uoexpress
