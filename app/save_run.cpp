#include "save_run.h"

#include "message_file.h"
#include "platform/new_file.h"
#include "platform/pump.h"
#include "recovered_text.h"

#include <vector>

namespace app {
namespace {

// Writes `text` under the first free name for `subject`; the counter starts at 0 for every
// message.
void WriteMessageFile(const std::string& save_path, const std::string& subject,
                      const std::string& text) {
  const std::string name = MessageFileStem(subject);
  const std::string bytes = WithCrLfLines(text);
  for (int n = 0;; ++n) {
    std::string candidate = CandidateFileName(save_path, name, n);
    if (platform::PathExists(candidate))
      continue;
    if (platform::WriteNewFile(candidate, bytes) == platform::NewFileResult::Created)
      return;
  }
}

// What the run needs of a ticked row, copied when it starts.
struct TickedMessage {
  TEmailMessage message;
  std::string subject;
};

std::vector<TickedMessage> TickedMessages(const RecoveredList& list) {
  std::vector<TickedMessage> ticked;
  for (const RecoveredRow& row : list.Rows())
    if (row.ticked)
      ticked.push_back({row.message, row.subject});
  return ticked;
}

} // namespace

std::string SaveCutShortText(const SaveCount& count) {
  return std::to_string(count.saved) + " of " + std::to_string(count.ticked) + " e-mails saved";
}

bool SaveEmails(const RecoveredList& list, const std::string& temp_dir,
                const std::string& save_path, UserNotifier& notifier, SaveCount& count) {
  // The readers pump, and whatever the user does then may reorder or re-tick the list.
  const std::vector<TickedMessage> ticked = TickedMessages(list);
  count = SaveCount{ticked.size(), 0};
  {
    BusyScope busy(notifier);
    platform::SetStopRequested(false);
    struct EndSteps {
      ~EndSteps() { platform::SetStopRequested(true); }
    } end_steps;

    std::string text;
    for (const TickedMessage& row : ticked) {
      ReadRecoveredText(row.message, temp_dir, text, true);
      // A Stop during the read leaves the text cut short: write nothing rather than part.
      if (platform::StopRequested())
        return false;
      WriteMessageFile(save_path, row.subject, text);
      ++count.saved;
    }
  }
  notifier.ShowInformation(kSavedMessage);
  return true;
}

} // namespace app
