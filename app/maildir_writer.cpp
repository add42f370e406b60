// Each folder file one Maildir; messages are delivered as Maildir asks: written whole into
// tmp, then moved to cur under a name no other message has.
#include "message_file.h"
#include "message_time.h"
#include "message_writer.h"
#include "platform/file_system.h"
#include "platform/file_time.h"
#include "platform/maildir_name.h"
#include "platform/new_file.h"
#include "platform/path_separator.h"

#include <stdexcept>

namespace app {
namespace {

class MaildirWriter : public MessageWriter {
public:
  MaildirWriter(std::string save_path, FolderDisplayNames names)
      : save_path_(std::move(save_path)), names_(std::move(names)) {}

  void Write(const TickedMessage& row, std::string_view text) override {
    const std::string& folder = row.message.FolderFileName;
    auto found = maildirs_.find(folder);
    if (found == maildirs_.end())
      found = maildirs_.emplace(folder, Create(FolderOutputName(names_, folder))).first;
    Deliver(found->second, WithCrLfLines(text), MessageUnixTime(row.date_value));
    ++stored_;
  }

private:
  // A new Maildir under a name nothing stands at.
  std::string Create(const std::string& name) {
    for (int n = 0;; ++n) {
      std::string candidate = save_path_ + platform::kPathSeparator + name;
      if (n > 0) { // appended, not "_" + std::to_string(n): GCC 12 at -O3 reports a false overlap
        candidate += '_';
        candidate += std::to_string(n);
      }
      if (platform::PathExists(candidate))
        continue;
      if (!platform::MakeDirectory(candidate)) {
        if (platform::PathExists(candidate))
          continue; // made by someone else meanwhile
        throw std::runtime_error("Cannot create file " + candidate);
      }
      for (const char* part : {"tmp", "new", "cur"}) {
        const std::string sub = candidate + platform::kPathSeparator + part;
        if (!platform::MakeDirectory(sub))
          throw std::runtime_error("Cannot create file " + sub);
      }
      return candidate;
    }
  }

  void Deliver(const std::string& maildir, const std::string& bytes,
               std::optional<std::int64_t> when) {
    const std::string tmp = maildir + platform::kPathSeparator + "tmp" + platform::kPathSeparator;
    const std::string cur = maildir + platform::kPathSeparator + "cur" + platform::kPathSeparator;
    while (true) {
      const std::string name = platform::NewMaildirName();
      if (platform::WriteNewFile(tmp + name, bytes) != platform::NewFileResult::Created)
        continue;
      if (when)
        platform::SetFileModificationTime(tmp + name, *when);
      if (platform::MoveToNewName(tmp + name, cur + name + platform::kMaildirInfo) ==
          platform::NewFileResult::Created)
        return;
      platform::RemoveFile(tmp + name);
    }
  }

  std::string save_path_;
  FolderDisplayNames names_;
  std::map<std::string, std::string> maildirs_; // by folder file
};

} // namespace

std::unique_ptr<MessageWriter> MakeMaildirWriter(const std::string& save_path,
                                                 FolderDisplayNames names) {
  return std::make_unique<MaildirWriter>(save_path, std::move(names));
}

} // namespace app
