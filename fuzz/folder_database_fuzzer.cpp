// The folder database reader on arbitrary file bytes, then the path of every folder found.
#include "memory_file.h"
#include "store/folder_database.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::ScopedMemoryFile file({reinterpret_cast<const char*>(data), size});
  const std::vector<uoexpress::FolderRecord> records = uoexpress::ReadFolderRecords("Folders.dbx");
  std::unordered_set<std::int32_t> numbers;
  const uoexpress::FolderPaths paths(records);
  for (const uoexpress::FolderRecord& record : records) {
    if (!numbers.insert(record.Index).second)
      __builtin_trap(); // one record a folder number
    const std::string path = paths.Of(record);
    if (record.Name.size() > 260 || record.FileName.size() > 260 || path.size() > 64 * 261)
      __builtin_trap(); // at most 64 names of at most 260 bytes
  }
  return 0;
}
