// A test-only writer of folder databases (Folders.dbx) laid out the way Outlook Express
// writes them.
#pragma once

#include "dbx_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dbxtest {

struct FolderEntry {
  std::int32_t index = 0;
  std::int32_t parent = 0; // -1 for the root "Outlook Express"
  std::string name;
  std::string file; // empty: no folder file
};

// Where the records and nodes of FolderDatabase begin, for tests that damage them.
constexpr std::int32_t kFolderRecordsStart = 0x2800;
constexpr std::int32_t kFolderNodesStart = 0xE000;

// A folder database listing `folders` in one index tree of nodes of at most 51 entries,
// named as the first of the three trees (header offsets 0xE4, 0xE8 and 0xEC; 48 as well, as
// Outlook Express has it). Record i stands at FolderRecordOffset(i).
DbxImage FolderDatabase(const std::vector<FolderEntry>& folders);
std::int32_t FolderRecordOffset(std::size_t i);

} // namespace dbxtest
