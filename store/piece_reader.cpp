#include "piece_reader.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace uoexpress {
namespace {

// After a read error the rest is read again in parts of these sizes, aligned in the file: a
// page, then a disk sector, so that only the sectors that cannot be read are lost.
constexpr std::size_t kRetryParts[] = {4096, 512};

} // namespace

namespace {

std::int64_t PiecesOfLane(std::int64_t end, std::int64_t piece, PieceLane lane) {
  if (piece <= 0 || lane.first < 0 || lane.stride <= 0)
    return 0;
  const std::int64_t pieces = (end + piece - 1) / piece;
  return pieces > lane.first ? (pieces - lane.first + lane.stride - 1) / lane.stride : 0;
}

} // namespace

PieceReader::PieceReader(DbxStream& stream, std::int64_t end, std::int64_t piece,
                         std::int64_t overlap, UnreadableBytes unreadable, PieceLane lane)
    : stream_(stream), end_(std::max<std::int64_t>(end, 0)), piece_(piece), lane_(lane),
      pieces_(PiecesOfLane(end_, piece, lane)), unreadable_(std::move(unreadable)) {
  if (piece <= 0 || overlap < 0 || lane.first < 0 || lane.stride <= 0)
    throw std::invalid_argument("PieceReader: the piece must be positive, the overlap not "
                                "negative, the lane's first piece not negative and its "
                                "stride positive");
  const auto size = static_cast<std::size_t>(std::min(piece_, end_) + overlap);
  slots_[0].bytes.resize(size);
  if (pieces_ > 1) {
    slots_[1].bytes.resize(size);
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
  // Whatever is thrown here (no memory, a file that throws) goes to the caller through Next:
  // out of a thread's function it would end the program.
  try {
    for (std::int64_t index = 0; index < pieces_; ++index) {
      {
        // Two slots: piece `index` may be read once the caller is done with piece index - 2.
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || index < released_ + 2; });
        if (stopping_)
          return;
      }
      ReadPiece(index);
      {
        std::lock_guard lock(mutex_);
        read_ = index + 1;
      }
      changed_.notify_all();
    }
  } catch (...) {
    {
      std::lock_guard lock(mutex_);
      error_ = std::current_exception();
    }
    changed_.notify_all();
  }
}

void PieceReader::ReadPiece(std::int64_t index) {
  Slot& slot = SlotFor(index);
  slot.unreadable.clear();
  ReadWithRetries(StartOf(index), slot.bytes.data(), slot.bytes.size(), 0, slot.unreadable);
}

// Reads `size` bytes at `offset` at once. Should that fail, what it did not read is read again
// in parts of kRetryParts[level] bytes, and so on down; what the smallest parts cannot read
// stays zero and is noted.
void PieceReader::ReadWithRetries(std::int64_t offset, unsigned char* out, std::size_t size,
                                  std::size_t level, std::vector<Range>& unreadable) {
  const std::size_t got = stream_.ReadUntilError(offset, out, size);
  if (got == size)
    return;
  if (level == std::size(kRetryParts)) {
    // The part may run past the end of the file, whose bytes are zeros rather than lost.
    const std::int64_t from = offset + static_cast<std::int64_t>(got);
    const std::int64_t to = std::min(offset + static_cast<std::int64_t>(size), stream_.Size());
    if (to <= from)
      return;
    if (!unreadable.empty() && unreadable.back().offset + unreadable.back().length == from)
      unreadable.back().length += to - from;
    else
      unreadable.push_back({from, to - from});
    return;
  }
  const std::size_t part = kRetryParts[level];
  for (std::size_t done = got; done < size;) {
    const std::int64_t at = offset + static_cast<std::int64_t>(done);
    const std::size_t length = std::min(
        size - done, part - static_cast<std::size_t>(at % static_cast<std::int64_t>(part)));
    ReadWithRetries(at, out + done, length, level + 1, unreadable);
    done += length;
  }
}

// Bytes a piece shares with the one before were read, and told of, with that one already.
void PieceReader::Report(const std::vector<Range>& unreadable) {
  for (const Range& range : unreadable) {
    const std::int64_t from = std::max(range.offset, reported_);
    const std::int64_t to = range.offset + range.length;
    if (to <= from)
      continue;
    reported_ = to; // first, so that a callback that throws is not told twice
    if (unreadable_)
      unreadable_(from, to - from);
  }
}

const unsigned char* PieceReader::Next(std::int64_t& start) {
  if (next_ >= pieces_)
    return nullptr;
  const std::int64_t index = next_;
  if (!thread_.joinable()) {
    if (read_ == 0) {
      ReadPiece(0);
      read_ = 1;
    }
  } else {
    std::unique_lock lock(mutex_);
    released_ = index; // the pieces before this one are done with
    changed_.notify_all();
    changed_.wait(lock, [&] { return read_ > index || error_; });
    if (read_ <= index)
      std::rethrow_exception(error_);
  }
  Slot& slot = SlotFor(index);
  Report(slot.unreadable);
  ++next_;
  start = StartOf(index);
  return slot.bytes.data();
}

} // namespace uoexpress
