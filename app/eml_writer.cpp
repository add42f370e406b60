// Each message its own .eml file, named from its subject. The files are written on worker
// threads while the save run reads the next messages, and named on the run's thread in the
// order the messages came, so every name and counter is what writing them one by one gives.
#include "message_file.h"
#include "message_time.h"
#include "message_writer.h"
#include "platform/new_file.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace app {
namespace {

// Messages read ahead of the one named next: enough to keep the workers busy, few enough
// that files held open and texts held in memory stay small, also when messages are large.
constexpr std::size_t kMaxPending = 16;
constexpr std::size_t kMaxPendingBytes = 32 << 20;

class EmlWriter : public MessageWriter {
public:
  explicit EmlWriter(std::string save_path) : save_path_(std::move(save_path)) {
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    for (unsigned i = 0; i < threads; ++i)
      workers_.emplace_back([this] { Work(); });
  }

  ~EmlWriter() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      jobs_.clear(); // files not named are removed; a worker keeps the job it writes
      unstarted_ = 0;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_)
      worker.join();
  }

  void Write(const TickedMessage& row, std::string_view text) override {
    auto job = std::make_shared<Job>();
    job->stem = MessageFileStem(row.subject);
    job->first_name = CandidateFileName(save_path_, job->stem, 0);
    job->modified = MessageUnixTime(row.date_value);
    job->text.assign(text);
    job->size = text.size();
    pending_bytes_ += job->size;
    {
      std::lock_guard lock(mutex_);
      jobs_.push_back(std::move(job));
      ++unstarted_;
    }
    changed_.notify_all();
    NameWritten(kMaxPending);
  }

  void Flush() override { NameWritten(0); }

private:
  struct Job {
    std::string stem;
    std::string first_name;
    std::optional<std::int64_t> modified;
    std::string text;
    std::size_t size = 0; // of the text, which the worker frees once written
    std::unique_ptr<platform::UnnamedFile> file;
    std::exception_ptr error;
    bool done = false;
  };

  // Names the written files in order: the ones ready, and beyond `pending` messages waiting,
  // the next ones as soon as they are written.
  void NameWritten(std::size_t pending) {
    while (true) {
      std::shared_ptr<Job> job;
      {
        std::unique_lock lock(mutex_);
        if (jobs_.empty())
          return;
        if (!jobs_.front()->done) {
          if (jobs_.size() <= pending && pending_bytes_ <= kMaxPendingBytes)
            return;
          changed_.wait(lock, [&] { return jobs_.front()->done; });
        }
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      pending_bytes_ -= job->size;
      if (job->error)
        std::rethrow_exception(job->error);
      job->file->PublishUnderFirstFreeName(
          [&](int n) { return CandidateFileName(save_path_, job->stem, n); });
      ++stored_;
    }
  }

  void Work() {
    while (true) {
      std::shared_ptr<Job> job;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || unstarted_ > 0; });
        if (stopping_)
          return;
        job = jobs_[jobs_.size() - unstarted_];
        --unstarted_;
      }
      try {
        job->file = std::make_unique<platform::UnnamedFile>(
            job->first_name, WithCrLfLines(job->text), job->modified);
      } catch (...) {
        job->error = std::current_exception();
      }
      job->text = {};
      {
        std::lock_guard lock(mutex_);
        job->done = true;
      }
      changed_.notify_all();
    }
  }

  std::string save_path_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Job>> jobs_; // in the order taken; the front is named next
  std::size_t unstarted_ = 0;             // jobs at the back that no worker has taken
  std::size_t pending_bytes_ = 0;         // text taken and not yet named (the run's thread's)
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

} // namespace

std::unique_ptr<MessageWriter> MakeEmlWriter(const std::string& save_path) {
  return std::make_unique<EmlWriter>(save_path);
}

} // namespace app
