#include "save_run.h"

#include "message_file.h"
#include "platform/new_file.h"
#include "platform/pump.h"
#include "recovered_text.h"

namespace app {
namespace {

// Writes `text` under the first free name for `subject`; the counter starts at 0 for every
// message.
void WriteMessageFile(const std::string& save_path, const std::string& subject,
                      const std::string& text) {
  const std::string name = SanitizeFileName(subject);
  const std::string bytes = WithCrLfLines(text);
  for (int n = 0;; ++n) {
    std::string candidate = CandidateFileName(save_path, name, n);
    if (platform::PathExists(candidate))
      continue;
    if (platform::WriteNewFile(candidate, bytes) == platform::NewFileResult::Created)
      return;
  }
}

} // namespace

bool SaveEmails(const RecoveredList& list, const std::string& temp_dir,
                const std::string& save_path, UserNotifier& notifier) {
  bool completed = false;
  {
    BusyScope busy(notifier);
    platform::SetStopRequested(false);
    struct EndSteps {
      ~EndSteps() { platform::SetStopRequested(true); }
    } end_steps;

    std::string text;
    for (const RecoveredRow& row : list.Rows()) {
      if (!row.ticked)
        continue;
      ReadRecoveredText(row.message, temp_dir, text, true);
      // A Stop during the read leaves the text empty: write nothing rather than an empty file.
      if (platform::StopRequested())
        return false;
      WriteMessageFile(save_path, row.subject, text);
    }
    completed = true;
  }
  notifier.ShowInformation(kSavedMessage);
  return completed;
}

} // namespace app
