// Each message its own .eml file, named from its subject.
#include "message_file.h"
#include "message_time.h"
#include "message_writer.h"
#include "platform/file_time.h"
#include "platform/new_file.h"

namespace app {
namespace {

class EmlWriter : public MessageWriter {
public:
  explicit EmlWriter(std::string save_path) : save_path_(std::move(save_path)) {}

  // The first free name for the subject; the counter starts at 0 for every message.
  void Write(const TickedMessage& row, std::string_view text) override {
    const std::string name = MessageFileStem(row.subject);
    const std::string bytes = WithCrLfLines(text);
    for (int n = 0;; ++n) {
      std::string candidate = CandidateFileName(save_path_, name, n);
      if (platform::PathExists(candidate))
        continue;
      if (platform::WriteNewFile(candidate, bytes) == platform::NewFileResult::Created) {
        if (const auto when = MessageUnixTime(row.date_value))
          platform::SetFileModificationTime(candidate, *when);
        return;
      }
    }
  }

private:
  std::string save_path_;
};

} // namespace

std::unique_ptr<MessageWriter> MakeEmlWriter(const std::string& save_path) {
  return std::make_unique<EmlWriter>(save_path);
}

} // namespace app
