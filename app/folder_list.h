// The folder files of a store, as the first page of the wizard offers them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace app {

struct FolderFile {
  FolderFile() = default;
  // The display name and path start as the file name.
  FolderFile(std::string file_name, bool ticked_in_advance = false)
      : name(std::move(file_name)), ticked(ticked_in_advance), display_name(name),
        display_path(name) {}

  std::string name; // as the file system reports it, no folder part
  bool ticked = false;
  std::string display_name; // the folder's name in Outlook Express ("Inbox"), 8-bit as stored
  std::string display_path; // the folder's place in Outlook Express ("Local Folders/Inbox")
  // A source the deep scan reads in place (a disk or partition image, a device): its full
  // path. Empty for a folder file of the store, which is read through its working copy.
  std::string source_path;
};

// True for a source read in place: any path but a folder file's (a name ending in ".dbx",
// in any letter case). Folder files are copied before they are read; an image or a device
// is far too large for that, and is only read.
bool IsReadInPlace(std::string_view path);

// The entry of a source read in place, ticked: named by its file name, with its full path.
FolderFile InPlaceSource(const std::string& path);

// The folder of the rows of one folder file that the deep scan found inside a source read in
// place: the source's name and where the folder file starts in it, "disk.img @ 0x8000000"
// ("disk.img @ -0x30000" when its head is lost).
std::string FoundFolderName(std::string_view source_name, std::int64_t file_start);

// True for a name holding ".dbx" anywhere, except the store's own bookkeeping files
// "folders.dbx", "pop3uidl.dbx" and "offline.dbx", in any letter case.
bool IsRecoverableFolderFile(std::string_view name);

// Folder files holding "deleted" in their name are ticked in advance.
bool IsTickedByDefault(std::string_view name);

// The recoverable folder files of `store_root`, sorted by name without regard to letter case,
// each named as the store's folder database (Folders.dbx) records it. Only files are listed,
// not folders. Empty when the root is empty or cannot be read.
std::vector<FolderFile> FillFolderList(const std::string& store_root);

// Gives every folder file that the folder database at `database_path` names its display name
// and path, matching file names without regard to letter case. Files it does not name, and
// all files when the database is missing or damaged beyond reading, keep their file names.
void NameFolderFiles(const std::string& database_path, std::vector<FolderFile>& folders);

// The result list's icon for a folder file: 5 inbox, 6 outbox, 7 sent items, 8 deleted items,
// 9 drafts, tested in that order; 5 for any other folder.
int FolderImageIndex(std::string_view name);

} // namespace app
