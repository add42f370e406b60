// SPDX-License-Identifier: MIT
// The deep scan's pass over a source: pieces read and looked at by several threads, their
// blocks taken in source order on the caller's thread.
#include "block_frames.h"
#include "dbx_layout.h"
#include "piece_reader.h"
#include "platform/pump.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace uoexpress {
namespace {

using layout::kBlockSize;

// Each piece carries a block's worth of the next and a few bytes more, so a block that starts
// near its end is seen whole, with the word after it, and so are the fields a marker near the
// end implies.
constexpr std::int64_t kOverlap = kBlockSize + 16;
// Pieces are looked at by up to this many threads at once, and at most kAhead pieces per
// thread wait to be taken in order.
constexpr unsigned kMostLanes = 4;
constexpr std::int64_t kAhead = 4;

// What the pass learns of one piece: its blocks in source order, and its unreadable bytes.
struct PieceFinding {
  std::int64_t start = 0;
  std::vector<BlockFrame> frames;
  std::vector<std::pair<std::int64_t, std::int64_t>> unreadable; // offset, length
};

// Reads and looks at the pieces of one lane, handing each piece's finding to `deliver`, in the
// lane's order, until it returns false.
template <class Deliver>
void RunLane(DbxStream& stream, std::int64_t end, PieceLane lane, const Deliver& deliver) {
  PieceFinding finding;
  std::vector<std::pair<std::int64_t, std::int64_t>> unreadable;
  PieceReader pieces(
      stream, end, kPassPiece, kOverlap,
      [&](std::int64_t offset, std::int64_t length) { unreadable.emplace_back(offset, length); },
      lane);
  std::int64_t start = 0;
  for (const unsigned char* piece; (piece = pieces.Next(start)) != nullptr;) {
    finding.start = start;
    finding.unreadable.swap(unreadable);
    unreadable.clear();
    LookAtPiece(piece, start, std::min(start + kPassPiece, end) - start, finding.frames);
    if (!deliver(finding))
      return;
  }
}

// Takes the pieces' findings in source order, on the caller's thread: keeps their blocks,
// tells of unreadable bytes once each (a piece's overlap is read again with the next piece),
// shows progress, and pumps. False once Stop is asked for.
class InOrder {
public:
  InOrder(BlockFrames& found, std::int64_t end, const DeepScanProgress& progress,
          const DeepScanReadError& read_error)
      : found_(found), end_(end), progress_(progress), read_error_(read_error) {}

  bool Take(const PieceFinding& finding) {
    for (const auto& [offset, length] : finding.unreadable) {
      const std::int64_t from = std::max(offset, reported_);
      if (offset + length <= from)
        continue;
      reported_ = offset + length;
      if (read_error_)
        read_error_(from, offset + length - from);
    }
    for (const BlockFrame& frame : finding.frames)
      found_.push_back(frame);
    if (progress_)
      progress_(std::min(finding.start + kPassPiece, end_), end_);
    platform::PumpMessages();
    return !platform::StopRequested();
  }

private:
  BlockFrames& found_;
  const std::int64_t end_;
  const DeepScanProgress& progress_;
  const DeepScanReadError& read_error_;
  std::int64_t reported_ = 0;
};

// Several lanes, each on a thread of its own, their findings taken in order on the caller's
// thread.
class Lanes {
public:
  Lanes(DbxStream& stream, std::int64_t end, std::int64_t lanes)
      : window_(lanes * kAhead), slots_(static_cast<std::size_t>(window_)) {
    for (std::int64_t lane = 0; lane < lanes; ++lane)
      threads_.emplace_back([this, &stream, end, lane, lanes] { Run(stream, end, {lane, lanes}); });
  }
  ~Lanes() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_)
      thread.join();
  }
  Lanes(const Lanes&) = delete;
  Lanes& operator=(const Lanes&) = delete;

  // Piece `index`'s finding, once its lane has it; what that lane threw instead is thrown here.
  PieceFinding& Wait(std::int64_t index) {
    std::unique_lock lock(mutex_);
    Slot& slot = SlotFor(index);
    changed_.wait(lock, [&] { return slot.ready || (error_ && error_index_ == index); });
    if (!slot.ready)
      std::rethrow_exception(error_);
    return slot.finding;
  }

  // Piece `index` is taken: its slot is free for a later one.
  void Done(std::int64_t index) {
    {
      std::lock_guard lock(mutex_);
      SlotFor(index).ready = false;
      taken_ = index + 1;
    }
    changed_.notify_all();
  }

private:
  struct Slot {
    PieceFinding finding;
    bool ready = false;
  };

  Slot& SlotFor(std::int64_t index) { return slots_[static_cast<std::size_t>(index % window_)]; }

  void Run(DbxStream& stream, std::int64_t end, PieceLane lane) {
    std::int64_t index = lane.first; // the piece the lane is at
    // Whatever is thrown here goes to the caller through Wait: out of a thread's function it
    // would end the program.
    try {
      RunLane(stream, end, lane, [&](PieceFinding& finding) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || index < taken_ + window_; });
        if (stopping_)
          return false;
        Slot& slot = SlotFor(index);
        std::swap(slot.finding, finding);
        slot.ready = true;
        index += lane.stride;
        lock.unlock();
        changed_.notify_all();
        return true;
      });
    } catch (...) {
      {
        // Several lanes may fail (a read over two pieces); the first piece that fails counts.
        std::lock_guard lock(mutex_);
        if (!error_ || index < error_index_) {
          error_ = std::current_exception();
          error_index_ = index;
        }
      }
      changed_.notify_all();
    }
  }

  const std::int64_t window_;
  std::vector<Slot> slots_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::int64_t taken_ = 0; // pieces taken so far
  bool stopping_ = false;
  std::exception_ptr error_;
  std::int64_t error_index_ = -1;
  std::vector<std::thread> threads_;
};

} // namespace

bool FindBlockFrames(DbxStream& stream, BlockFrames& found, const DeepScanProgress& progress,
                     const DeepScanReadError& read_error, unsigned lanes_asked) {
  const std::int64_t end = stream.Size();
  const std::int64_t pieces = (end + kPassPiece - 1) / kPassPiece;
  const auto lanes = static_cast<std::int64_t>(std::clamp(
      lanes_asked == 0 ? std::thread::hardware_concurrency() : lanes_asked, 1u, kMostLanes));
  InOrder in_order(found, end, progress, read_error);
  // Looking at a piece takes longer than reading it: with more than one core, several pieces
  // are looked at at once.
  if (lanes == 1 || pieces < 2 * lanes) {
    bool stopped = false;
    RunLane(stream, end, {}, [&](const PieceFinding& finding) {
      stopped = !in_order.Take(finding);
      return !stopped;
    });
    return !stopped;
  }
  Lanes running(stream, end, lanes);
  for (std::int64_t index = 0; index < pieces; ++index) {
    const bool go_on = in_order.Take(running.Wait(index));
    running.Done(index);
    if (!go_on)
      return false;
  }
  return true;
}

} // namespace uoexpress
