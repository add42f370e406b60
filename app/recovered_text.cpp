#include "recovered_text.h"

#include "store/uoexpress.h"

#include <cstdio>

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

std::string RecoveredTextPath(const TEmailMessage& message, const std::string& temp_dir) {
  return message.SourcePath.empty() ? temp_dir + message.FolderFileName : message.SourcePath;
}

void ReadRecoveredText(const TEmailMessage& message, const std::string& temp_dir, std::string& text,
                       bool full_text) {
  uoexpress::FolderFile file(RecoveredTextPath(message, temp_dir));
  ReadRecoveredText(message, file, text, full_text);
}

std::string FragmentHeader(const TEmailMessage& message) {
  char offset[32];
  std::snprintf(offset, sizeof offset, "0x%llx",
                static_cast<unsigned long long>(message.DataOffset));
  return std::string("Subject: Fragment of a message found at ") + offset + " in " +
         message.FolderFileName +
         "\r\nX-Salvora-Fragment: the start of this message was lost; the text below is what "
         "was found\r\nMIME-Version: 1.0\r\nContent-Type: text/plain\r\n\r\n";
}

} // namespace app
