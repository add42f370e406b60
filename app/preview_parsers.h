// Parsing the scan's previews on worker threads, each with a message parser of its own, while
// the scan reads the next previews and hands out the rows in the order it read them.
#pragma once

#include "recovered_email.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mime {
class TMailMessage2000;
}

namespace app {

// The row of a message from its preview: the parser's sender, recipients, subject and date
// value, the attachment marker and the tick; the date text is left to the caller. A message the
// parser cannot fully read gets what it read.
RecoveredRow PreviewRow(mime::TMailMessage2000& mail, const TEmailMessage& message,
                        const std::string& text);

class PreviewParsers {
public:
  explicit PreviewParsers(unsigned threads);
  ~PreviewParsers();
  PreviewParsers(const PreviewParsers&) = delete;
  PreviewParsers& operator=(const PreviewParsers&) = delete;

  // Queues a preview; its row comes out of Next after the rows of those queued before it.
  void Add(const TEmailMessage& message, std::string text);

  // The next row in order when it is ready within `wait`; an error of its parsing is thrown.
  bool Next(RecoveredRow& row, std::chrono::milliseconds wait);

  // Drops every queued preview; what a worker is parsing is finished and thrown away.
  void Clear();

private:
  struct Job {
    TEmailMessage message;
    std::string text;
    RecoveredRow row;
    std::exception_ptr error;
    bool done = false;
  };

  void Work();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Job>> jobs_; // in order; the front is handed out next
  std::size_t unstarted_ = 0;             // jobs at the back that no worker has taken
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

} // namespace app
