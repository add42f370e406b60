#include "recovered_text.h"

#include "store/uoexpress.h"

namespace app {

void ReadRecoveredText(const TEmailMessage& message, uoexpress::FolderFile& file, std::string& text,
                       bool full_text) {
  const auto offset = static_cast<std::int32_t>(message.DataOffset);
  text.clear();
  if (message.Found)
    file.ReadFoundMessageText({message.DataOffset, message.Chain.Blocks, message.Chain.FreedBlocks,
                               message.Chain.Fragment, message.Chain.FileStart,
                               message.Chain.Jumps},
                              text, full_text);
  else if (message.Deleted)
    file.ReadDeletedMessageText(offset, text, full_text);
  else
    file.ReadMessageText(offset, text, full_text);
}

void ReadRecoveredText(const TEmailMessage& message, const std::string& temp_dir, std::string& text,
                       bool full_text) {
  uoexpress::FolderFile file(temp_dir + message.FolderFileName);
  ReadRecoveredText(message, file, text, full_text);
}

} // namespace app
