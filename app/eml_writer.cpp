// Each message its own .eml file, named from its subject.
#include "message_file.h"
#include "message_time.h"
#include "message_writer.h"
#include "platform/new_file.h"

namespace app {
namespace {

class EmlWriter : public MessageWriter {
public:
  explicit EmlWriter(std::string save_path) : save_path_(std::move(save_path)) {}

  // The first free name for the subject; the counter starts at 0 for every message.
  void Write(const TickedMessage& row, std::string_view text) override {
    const std::string name = MessageFileStem(row.subject);
    platform::WriteNewFileUnderFirstFreeName(
        [&](int n) { return CandidateFileName(save_path_, name, n); }, WithCrLfLines(text),
        MessageUnixTime(row.date_value));
  }

private:
  std::string save_path_;
};

} // namespace

std::unique_ptr<MessageWriter> MakeEmlWriter(const std::string& save_path) {
  return std::make_unique<EmlWriter>(save_path);
}

} // namespace app
