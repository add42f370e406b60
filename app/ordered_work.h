// Jobs done on a few worker threads and handed back in the order they were added: the scan
// parses previews this way and the save writes files, while the run's thread reads on and
// keeps every observable order as one-by-one work would give it.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace app {

template <class Job> class OrderedWork {
public:
  using Worker = std::function<void(Job&)>;

  // Each of `threads` workers gets a Worker of its own from `make_worker`, so it may keep
  // state of its own (a parser). A sleeping worker is woken once `wake_batch` jobs wait, or
  // when the taker has to wait: waking a thread for every small job costs more than the job
  // when the adding thread is the slower one.
  OrderedWork(unsigned threads, const std::function<Worker()>& make_worker,
              std::size_t wake_batch = 1)
      : wake_batch_(std::max<std::size_t>(wake_batch, 1)) {
    for (unsigned i = 0; i < std::max(threads, 1u); ++i)
      workers_.emplace_back([this, work = make_worker()] { Run(work); });
  }

  // Jobs not started are dropped; the workers finish the ones they hold, then end.
  ~OrderedWork() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      Drop();
    }
    work_added_.notify_all();
    for (std::thread& worker : workers_)
      worker.join();
  }

  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  void Add(Job job) {
    auto entry = std::make_shared<Entry>();
    entry->job = std::move(job);
    bool wake = false;
    {
      std::lock_guard lock(mutex_);
      entries_.push_back(std::move(entry));
      ++unstarted_;
      // A busy worker looks for the next job by itself.
      wake = idle_workers_ > 0 && unstarted_ >= wake_batch_;
    }
    if (wake)
      work_added_.notify_one();
  }

  // The oldest job once it is done, waiting up to `wait` for it; nothing when there is no job
  // or it is not done in time. An exception its work threw is thrown here.
  std::optional<Job> TakeDone(std::chrono::milliseconds wait) { return Take(wait); }

  // The oldest job, waiting until it is done; nothing when there is no job.
  std::optional<Job> TakeWhenDone() { return Take(std::nullopt); }

  // Jobs added and not yet taken.
  std::size_t Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
  }

  // Drops every job not taken; a job a worker holds is finished and thrown away.
  void Clear() {
    std::lock_guard lock(mutex_);
    Drop();
  }

private:
  struct Entry {
    Job job;
    std::exception_ptr error;
    bool done = false;
  };

  std::optional<Job> Take(std::optional<std::chrono::milliseconds> wait) {
    std::shared_ptr<Entry> entry;
    {
      std::unique_lock lock(mutex_);
      if (entries_.empty())
        return std::nullopt;
      const auto front_done = [&] { return !entries_.empty() && entries_.front()->done; };
      if (!front_done()) {
        // No wait at all when none is wanted: a wait that times out at once still sleeps
        // and wakes in the C library, and the save asks after every message it reads.
        if (wait && wait->count() <= 0)
          return std::nullopt;
        if (unstarted_ > 0 && idle_workers_ > 0)
          work_added_.notify_all(); // jobs held back for a batch are wanted now
        taker_waiting_ = true;
        bool done = true;
        if (wait)
          done = front_done_.wait_for(lock, *wait, front_done);
        else
          front_done_.wait(lock, front_done);
        taker_waiting_ = false;
        if (!done)
          return std::nullopt;
      }
      entry = std::move(entries_.front());
      entries_.pop_front();
    }
    if (entry->error)
      std::rethrow_exception(entry->error);
    return std::move(entry->job);
  }

  void Drop() {
    entries_.clear(); // a worker keeps its own reference to the entry it works on
    unstarted_ = 0;
  }

  void Run(const Worker& work) {
    std::unique_lock lock(mutex_);
    while (true) {
      ++idle_workers_;
      work_added_.wait(lock, [&] { return stopping_ || unstarted_ > 0; });
      --idle_workers_;
      if (stopping_)
        return;
      std::shared_ptr<Entry> entry = entries_[entries_.size() - unstarted_];
      --unstarted_;
      lock.unlock();
      try {
        work(entry->job);
      } catch (...) {
        entry->error = std::current_exception();
      }
      lock.lock();
      entry->done = true;
      // Only the oldest job's end can let a waiting taker go on; it is woken with the lock let
      // go, so that it does not wake only to wait for the lock.
      if (taker_waiting_ && !entries_.empty() && entries_.front() == entry) {
        lock.unlock();
        front_done_.notify_one();
        lock.lock();
      }
    }
  }

  mutable std::mutex mutex_;
  std::condition_variable work_added_;         // workers wait here
  std::condition_variable front_done_;         // the taker waits here
  std::deque<std::shared_ptr<Entry>> entries_; // in order; the front is taken next
  std::size_t unstarted_ = 0;                  // entries at the back no worker has taken
  std::size_t idle_workers_ = 0;
  const std::size_t wake_batch_;
  bool taker_waiting_ = false;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

} // namespace app
