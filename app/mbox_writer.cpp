// Each folder file one mbox in the mboxrd form, which Thunderbird and every mbox reader take.
#include "message_file.h"
#include "message_time.h"
#include "message_writer.h"
#include "platform/new_file.h"
#include "safe_file_name.h"

#include <fstream>
#include <stdexcept>

namespace app {
namespace {

// The address as the "From " line's first word: no blanks or control bytes inside it.
std::string SenderWord(std::string_view from) {
  std::string sender(from);
  for (char& c : sender) {
    if (static_cast<unsigned char>(c) <= 32 || c == 127)
      c = '_';
  }
  return sender.empty() ? "MAILER-DAEMON" : sender;
}

bool NeedsQuoting(std::string_view line) {
  line.remove_prefix(std::min(line.find_first_not_of('>'), line.size()));
  return line.starts_with("From ");
}

class MboxWriter : public MessageWriter {
public:
  MboxWriter(std::string save_path, FolderDisplayNames names)
      : save_path_(std::move(save_path)), names_(std::move(names)) {}

  void Write(const TickedMessage& row, std::string_view text) override {
    const std::string entry =
        MboxEntry(row.from, MessageUnixTime(row.date_value).value_or(UnixTimeNow()), text);
    const std::string& folder = row.message.FolderFileName;
    auto found = files_.find(folder);
    if (found == files_.end()) {
      Create(folder, entry);
      ++stored_;
      return;
    }
    Mbox& mbox = found->second;
    mbox.out.write(entry.data(), static_cast<std::streamsize>(entry.size()));
    mbox.out.flush();
    if (!mbox.out)
      throw std::runtime_error("Cannot create file " + mbox.path);
    ++stored_;
  }

private:
  struct Mbox {
    std::string path;
    std::ofstream out;
  };

  // The file is made whole with its first message under a name nothing stands at; later
  // messages are appended.
  void Create(const std::string& folder, const std::string& entry) {
    const std::string name = FolderOutputName(names_, folder) + ".mbox";
    for (int n = 0;; ++n) {
      std::string candidate = NumberedPath(save_path_, name, n);
      if (platform::PathExists(candidate) ||
          platform::WriteNewFile(candidate, entry) != platform::NewFileResult::Created)
        continue;
      Mbox& mbox = files_[folder];
      mbox.path = candidate;
      mbox.out.open(candidate, std::ios::binary | std::ios::app);
      return;
    }
  }

  std::string save_path_;
  FolderDisplayNames names_;
  std::map<std::string, Mbox> files_; // by folder file
};

} // namespace

std::string MboxEntry(std::string_view sender, std::int64_t unix_seconds, std::string_view text) {
  const std::string lines = WithCrLfLines(text);
  std::string entry = "From " + SenderWord(sender) + " " + MboxDate(unix_seconds) + "\n";
  entry.reserve(entry.size() + lines.size() + 1);
  for (std::size_t start = 0; start < lines.size();) {
    const std::size_t end = lines.find("\r\n", start);
    const std::string_view line = std::string_view(lines).substr(start, end - start);
    if (NeedsQuoting(line))
      entry += '>';
    entry += line;
    entry += '\n';
    start = end + 2;
  }
  entry += '\n';
  return entry;
}

std::unique_ptr<MessageWriter> MakeMboxWriter(const std::string& save_path,
                                              FolderDisplayNames names) {
  return std::make_unique<MboxWriter>(save_path, std::move(names));
}

} // namespace app
