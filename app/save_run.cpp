#include "save_run.h"

#include "platform/pump.h"
#include "recovered_text.h"
#include "store/uoexpress.h"

#include <map>
#include <vector>

namespace app {
namespace {

std::vector<TickedMessage> TickedMessages(const RecoveredList& list) {
  std::vector<TickedMessage> ticked;
  for (const RecoveredRow& row : list.Rows())
    if (row.ticked)
      ticked.push_back({row.message, row.subject, row.from, row.date_value});
  return ticked;
}

} // namespace

std::string SaveCutShortText(const SaveCount& count) {
  return std::to_string(count.saved) + " of " + std::to_string(count.ticked) + " e-mails saved";
}

bool SaveEmails(const RecoveredList& list, const std::string& temp_dir,
                const std::string& save_path, UserNotifier& notifier, SaveCount& count,
                const SaveOptions& options) {
  // The readers pump, and whatever the user does then may reorder or re-tick the list.
  const std::vector<TickedMessage> ticked = TickedMessages(list);
  count = SaveCount{ticked.size(), 0};
  {
    BusyScope busy(notifier);
    platform::SetStopRequested(false);
    struct EndSteps {
      ~EndSteps() { platform::SetStopRequested(true); }
    } end_steps;

    const std::unique_ptr<MessageWriter> writer =
        MakeMessageWriter(options.format, save_path, options.folder_names);
    // Each working copy or source read in place is opened once, when its first message is
    // read, and held to the end; the folders found in one source share it.
    std::map<std::string, uoexpress::FolderFile> files;
    std::string text;
    try {
      for (const TickedMessage& row : ticked) {
        const std::string path = RecoveredTextPath(row.message, temp_dir);
        auto file = files.find(path);
        if (file == files.end())
          file = files.emplace(path, uoexpress::FolderFile(path)).first;
        ReadRecoveredText(row.message, file->second, text, true);
        // A Stop during the read leaves the text cut short: write nothing rather than part;
        // the messages read whole before it are stored.
        if (platform::StopRequested()) {
          writer->Flush();
          count.saved = writer->Stored();
          return false;
        }
        if (row.message.Found && row.message.Chain.Fragment)
          text.insert(0, FragmentHeader(row.message));
        writer->Write(row, text);
        count.saved = writer->Stored();
      }
      writer->Flush();
      count.saved = writer->Stored();
    } catch (...) {
      count.saved = writer->Stored();
      throw;
    }
  }
  notifier.ShowInformation(kSavedMessage);
  return true;
}

} // namespace app
