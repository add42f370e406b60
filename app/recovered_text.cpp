#include "recovered_text.h"

#include "store/uoexpress.h"

namespace app {

void ReadRecoveredText(const TEmailMessage& message, const std::string& temp_dir, std::string& text,
                       bool full_text) {
  const std::string copy = temp_dir + message.FolderFileName;
  const auto offset = static_cast<std::int32_t>(message.DataOffset);
  text.clear();
  if (message.Found) {
    uoexpress::ReadFoundMessageText(copy,
                                    {message.DataOffset, message.Chain.Blocks,
                                     message.Chain.FreedBlocks, message.Chain.Fragment},
                                    text, full_text);
  } else if (message.Deleted)
    uoexpress::ReadDeletedMessageText(copy, offset, text, full_text);
  else
    uoexpress::ReadMessageText(copy, offset, text, full_text);
}

} // namespace app
