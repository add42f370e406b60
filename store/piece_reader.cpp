#include "piece_reader.h"

#include <algorithm>

namespace uoexpress {

PieceReader::PieceReader(DbxStream& stream, std::int64_t end, std::int64_t piece,
                         std::int64_t overlap)
    : stream_(stream), end_(std::max<std::int64_t>(end, 0)), piece_(piece),
      pieces_((end_ + piece - 1) / piece) {
  const auto size = static_cast<std::size_t>(std::min(piece_, end_) + overlap);
  buffers_[0].resize(size);
  if (pieces_ > 1) {
    buffers_[1].resize(size);
    thread_ = std::thread([this] { ReadAhead(); });
  }
}

PieceReader::~PieceReader() {
  if (!thread_.joinable())
    return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void PieceReader::ReadAhead() {
  for (std::int64_t index = 0; index < pieces_; ++index) {
    {
      // Two buffers: piece `index` may be read once the caller is done with piece index - 2.
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || index < released_ + 2; });
      if (stopping_)
        return;
    }
    std::vector<unsigned char>& buffer = Buffer(index);
    stream_.Read(index * piece_, buffer.data(), buffer.size());
    {
      std::lock_guard lock(mutex_);
      read_ = index + 1;
    }
    changed_.notify_all();
  }
}

const unsigned char* PieceReader::Next(std::int64_t& start) {
  if (next_ >= pieces_)
    return nullptr;
  const std::int64_t index = next_++;
  start = index * piece_;
  if (!thread_.joinable()) {
    stream_.Read(start, buffers_[0].data(), buffers_[0].size());
    return buffers_[0].data();
  }
  {
    std::unique_lock lock(mutex_);
    released_ = index; // the pieces before this one are done with
    changed_.notify_all();
    changed_.wait(lock, [&] { return read_ > index; });
  }
  return Buffer(index).data();
}

} // namespace uoexpress
