#include "message_writer.h"

#include "display_text.h"
#include "safe_file_name.h"
#include "text/ascii.h"

#include <algorithm>

namespace app {

std::unique_ptr<MessageWriter> MakeMessageWriter(SaveFormat format, const std::string& save_path,
                                                 FolderDisplayNames names) {
  switch (format) {
  case SaveFormat::Mbox:
    return MakeMboxWriter(save_path, std::move(names));
  case SaveFormat::Maildir:
    return MakeMaildirWriter(save_path, std::move(names));
  case SaveFormat::Eml:
    break;
  }
  return MakeEmlWriter(save_path);
}

std::string FolderOutputName(const FolderDisplayNames& names, const std::string& folder_file) {
  const auto found = names.find(folder_file);
  std::string_view name = folder_file;
  if (found != names.end() && !found->second.empty())
    name = found->second;
  else if (name.size() > 4 && text::EndsWithIgnoringAsciiCase(name, ".dbx"))
    name.remove_suffix(4);
  // A folder's name is no path: a separator in it is part of the name.
  std::string display = DisplayText(name);
  std::replace_if(
      display.begin(), display.end(), [](char c) { return c == '/' || c == '\\'; }, '_');
  return SafeFileName(display, "Folder");
}

} // namespace app
