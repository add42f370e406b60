// The store's folder database (Folders.dbx): for every folder Outlook Express showed, its
// display name, its parent folder and the folder file that holds its messages.
//
// The database is a folder file of its own kind, with index trees over records of the same
// structure as message-info records. It is read with the same care as the message files:
// every structure must hold its own offset, damaged ones are skipped, loops end, and nothing
// about damaged content is reported.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace uoexpress {

struct FolderRecord {
  std::int32_t Index = 0;       // the folder's number; the root "Outlook Express" has 0
  std::int32_t ParentIndex = 0; // the parent's number; negative for the root
  std::string Name;             // display name, 8-bit as stored, at most 260 bytes
  std::string FileName;         // folder file of the messages; empty when it has none
  std::int32_t InfoOffset = 0;  // file offset of the record

  bool operator==(const FolderRecord&) const = default;
};

// The folder records, at most one per folder number (the first one the walk meets), in walk
// order. Empty when the file does not call itself a folder database. Throws EFOpenError when
// the file cannot be opened.
std::vector<FolderRecord> ReadFolderRecords(const std::string& path);

// Folder paths within one database's records, which must outlive it.
class FolderPaths {
public:
  explicit FolderPaths(const std::vector<FolderRecord>& records);

  // The display names from the folder below the root down to `folder`, joined by "/"
  // ("Local Folders/Inbox"). A parent without a record, or one met before (a loop), ends the
  // path; so does its 64th name.
  std::string Of(const FolderRecord& folder) const;

private:
  std::unordered_map<std::int32_t, const FolderRecord*> by_index_;
};

} // namespace uoexpress
