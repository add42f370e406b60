#include "preview_parsers.h"

#include "folder_list.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"
#include "scan_run.h"

namespace app {
namespace {

// An accessor that fails on a damaged message gives an empty text.
template <typename Accessor> auto Safely(Accessor accessor) -> decltype(accessor()) {
  try {
    return accessor();
  } catch (const mime::MimeError&) {
    return {};
  }
}

// Previews a sleeping parser is woken for: the scan reads further ahead than this, and a
// preview parses faster than it is read.
constexpr std::size_t kWakeBatch = 8;

} // namespace

RecoveredRow PreviewRow(mime::TMailMessage2000& mail, const TEmailMessage& message,
                        const std::string& text) {
  // A damaged message (a broken uuencoded block, stray lines in a deleted one) must not end
  // the scan of everything else: its row gets what the parser read before the error.
  try {
    mail.ParseText(text);
    mail.RebuildBody();
  } catch (const mime::MimeError&) {
  }
  RecoveredRow row;
  row.message = message;
  row.message.HasAttachment = HasAttachmentWords(text);
  row.ticked = message.Deleted || message.Found;
  row.folder_image = FolderImageIndex(message.FolderFileName);
  row.from = Safely([&] { return mail.FromText(); });
  row.to = Safely([&] { return mail.ToList.RecipientsText(); });
  row.subject = Safely([&] { return mail.SubjectText(); });
  row.date_value = Safely([&] { return mail.DateValue(); });
  return row;
}

PreviewParsers::PreviewParsers(unsigned threads)
    : work_(
          threads,
          [] {
            // Each worker parses with a parser of its own, which does not pump: the window's
            // messages are the main thread's, which pumps while it waits for rows.
            auto mail = std::make_shared<mime::TMailMessage2000>();
            ConfigureMailMessage(*mail);
            mail->OnProgress = nullptr;
            return [mail](Job& job) {
              job.row = PreviewRow(*mail, job.message, job.text);
              job.text = {};
            };
          },
          kWakeBatch) {}

void PreviewParsers::Add(const TEmailMessage& message, std::string text) {
  work_.Add(Job{message, std::move(text), {}});
}

bool PreviewParsers::Next(RecoveredRow& row, std::chrono::milliseconds wait) {
  std::optional<Job> job = work_.TakeDone(wait);
  if (!job)
    return false;
  row = std::move(job->row);
  return true;
}

} // namespace app
