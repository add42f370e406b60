// The folder files of a store, as the first page of the wizard offers them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

struct FolderFile {
  std::string name; // as the file system reports it, no folder part
  bool ticked = false;
};

// True for a name holding ".dbx" anywhere, except the store's own bookkeeping files
// "folders.dbx", "pop3uidl.dbx" and "offline.dbx", in any letter case.
bool IsRecoverableFolderFile(std::string_view name);

// Folder files holding "deleted" in their name are ticked in advance.
bool IsTickedByDefault(std::string_view name);

// The recoverable folder files of `store_root`, sorted by name without regard to letter case.
// Only files are listed, not folders. Empty when the root is empty or cannot be read.
std::vector<FolderFile> FillFolderList(const std::string& store_root);

// The result list's icon for a folder file: 5 inbox, 6 outbox, 7 sent items, 8 deleted items,
// 9 drafts, tested in that order; 5 for any other folder.
int FolderImageIndex(std::string_view name);

} // namespace app
