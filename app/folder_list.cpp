#include "folder_list.h"

#include "platform/file_system.h"
#include "text/ascii.h"

#include <utility>

namespace app {

bool IsRecoverableFolderFile(std::string_view name) {
  const std::string lowered = text::LowerAscii(name);
  return lowered.find(".dbx") != std::string::npos && lowered != "folders.dbx" &&
         lowered != "pop3uidl.dbx" && lowered != "offline.dbx";
}

bool IsTickedByDefault(std::string_view name) {
  return text::LowerAscii(name).find("deleted") != std::string::npos;
}

std::vector<FolderFile> FillFolderList(const std::string& store_root) {
  std::vector<FolderFile> folders;
  // Without a root there is no store folder; listing "" would list the working folder.
  if (store_root.empty())
    return folders;
  for (const platform::DirectoryEntry& entry : platform::ListDirectory(store_root)) {
    if (entry.is_file && IsRecoverableFolderFile(entry.name))
      folders.push_back({entry.name, IsTickedByDefault(entry.name)});
  }
  return folders;
}

int FolderImageIndex(std::string_view name) {
  static constexpr std::pair<std::string_view, int> kIcons[] = {
      {"inbox", 5}, {"outbox", 6}, {"sent items", 7}, {"deleted items", 8}, {"drafts", 9}};
  const std::string lowered = text::LowerAscii(name);
  for (const auto& [text, index] : kIcons) {
    if (lowered.find(text) != std::string::npos)
      return index;
  }
  return 5;
}

} // namespace app
