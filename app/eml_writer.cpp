// Each message its own .eml file, named from its subject. The files are written on worker
// threads while the save run reads the next messages, and named on the run's thread in the
// order the messages came, so every name and counter is what writing them one by one gives.
#include "message_file.h"
#include "message_time.h"
#include "message_writer.h"
#include "ordered_work.h"
#include "platform/new_file.h"

#include <algorithm>
#include <thread>

namespace app {
namespace {

// Messages read ahead of the one named next: enough to keep the workers busy, few enough
// that files held open and texts held in memory stay small, also when messages are large.
constexpr std::size_t kMaxPending = 16;
constexpr std::size_t kMaxPendingBytes = 32 << 20;
// Messages a sleeping writer is woken for, fewer than are read ahead.
constexpr std::size_t kWakeBatch = 4;

class EmlWriter : public MessageWriter {
public:
  explicit EmlWriter(std::string save_path)
      : save_path_(std::move(save_path)),
        work_(
            std::clamp(std::thread::hardware_concurrency(), 1u, 4u),
            [] {
              return [](Job& job) {
                job.file = std::make_unique<platform::UnnamedFile>(
                    job.first_name, WithCrLfLines(job.text), job.modified);
                job.text = {};
              };
            },
            kWakeBatch) {}

  void Write(const TickedMessage& row, std::string_view text) override {
    Job job;
    job.stem = MessageFileStem(row.subject);
    job.first_name = CandidateFileName(save_path_, job.stem, 0);
    job.modified = MessageUnixTime(row.date_value);
    job.text.assign(text);
    job.size = text.size();
    pending_bytes_ += job.size;
    work_.Add(std::move(job));
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
  };

  // Names the written files in order: the ones ready, and beyond `pending` messages waiting,
  // the next ones as soon as they are written.
  void NameWritten(std::size_t pending) {
    while (true) {
      const bool wait = work_.Size() > pending || pending_bytes_ > kMaxPendingBytes;
      std::optional<Job> job =
          wait ? work_.TakeWhenDone() : work_.TakeDone(std::chrono::milliseconds(0));
      if (!job)
        return;
      pending_bytes_ -= job->size;
      job->file->PublishUnderFirstFreeName(
          [&](int n) { return CandidateFileName(save_path_, job->stem, n); });
      ++stored_;
    }
  }

  std::string save_path_;
  std::size_t pending_bytes_ = 0; // of texts added and not yet named
  OrderedWork<Job> work_;         // last: its workers end before the rest goes
};

} // namespace

std::unique_ptr<MessageWriter> MakeEmlWriter(const std::string& save_path) {
  return std::make_unique<EmlWriter>(save_path);
}

} // namespace app
