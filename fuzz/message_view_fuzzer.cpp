// The message view on arbitrary text: every text it shows must be UTF-8, and every
// attachment name must make a file name that stays inside the chosen folder.
#include "app/display_text.h"
#include "app/message_view.h"
#include "app/safe_file_name.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void CheckText(const std::string& text) {
  if (!app::IsValidUtf8(text))
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const app::MessageView view = app::ViewMessage(text);
  for (const std::string* field :
       {&view.from, &view.to, &view.cc, &view.subject, &view.date, &view.body})
    CheckText(*field);
  for (const app::MessageAttachment& attachment : view.attachments) {
    CheckText(attachment.name);
    const std::string name = app::SafeFileName(attachment.name, "attachment");
    if (name.empty() || name == "." || name == ".." || name.size() > 150 ||
        name.find_first_of("/\\") != std::string::npos)
      __builtin_trap();
  }
  return 0;
}
