// Parsing the scan's previews on worker threads, each with a message parser of its own, while
// the scan reads the next previews and hands out the rows in the order it read them.
#pragma once

#include "ordered_work.h"
#include "recovered_email.h"

#include <chrono>
#include <string>

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

  // Queues a preview; its row comes out of Next after the rows of those queued before it.
  void Add(const TEmailMessage& message, std::string text);

  // The next row in order when it is ready within `wait`; an error of its parsing is thrown.
  bool Next(RecoveredRow& row, std::chrono::milliseconds wait);

  // Drops every queued preview; what a worker is parsing is finished and thrown away.
  void Clear() { work_.Clear(); }

private:
  struct Job {
    TEmailMessage message;
    std::string text;
    RecoveredRow row;
  };

  OrderedWork<Job> work_;
};

} // namespace app
