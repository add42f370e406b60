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

PreviewParsers::PreviewParsers(unsigned threads) {
  for (unsigned i = 0; i < std::max(threads, 1u); ++i)
    workers_.emplace_back([this] { Work(); });
}

PreviewParsers::~PreviewParsers() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_)
    worker.join();
}

void PreviewParsers::Add(const TEmailMessage& message, std::string text) {
  auto job = std::make_shared<Job>();
  job->message = message;
  job->text = std::move(text);
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
    ++unstarted_;
  }
  changed_.notify_all();
}

bool PreviewParsers::Next(RecoveredRow& row, std::chrono::milliseconds wait) {
  std::shared_ptr<Job> job;
  {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, wait, [&] { return !jobs_.empty() && jobs_.front()->done; }))
      return false;
    job = std::move(jobs_.front());
    jobs_.pop_front();
  }
  if (job->error)
    std::rethrow_exception(job->error);
  row = std::move(job->row);
  return true;
}

void PreviewParsers::Clear() {
  std::lock_guard lock(mutex_);
  jobs_.clear(); // a worker keeps its own reference to the job it parses
  unstarted_ = 0;
}

void PreviewParsers::Work() {
  // Each worker parses with a parser of its own, which does not pump: the window's messages
  // are the main thread's, which pumps while it waits for rows.
  mime::TMailMessage2000 mail;
  ConfigureMailMessage(mail);
  mail.OnProgress = nullptr;
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
      job->row = PreviewRow(mail, job->message, job->text);
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

} // namespace app
