#include "folder_list.h"

#include "platform/file_system.h"
#include "store/folder_database.h"
#include "store/uoexpress.h"
#include "store_location.h"
#include "text/ascii.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <utility>

namespace app {

bool IsRecoverableFolderFile(std::string_view name) {
  const std::string lowered = text::LowerAscii(name);
  return lowered.find(".dbx") != std::string::npos && lowered != "folders.dbx" &&
         lowered != "pop3uidl.dbx" && lowered != "offline.dbx";
}

bool IsReadInPlace(std::string_view path) {
  return !text::EndsWithIgnoringAsciiCase(path, ".dbx");
}

FolderFile InPlaceSource(const std::string& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error)
    full = path;
  std::string name = full.filename().string();
  if (name.empty())
    name = full.string(); // a device without a file name part, such as \\.\C:
  FolderFile source(name, true);
  source.display_path = full.string();
  source.source_path = full.string();
  return source;
}

std::string FoundFolderName(std::string_view source_name, std::int64_t file_start) {
  char start[24];
  const unsigned long long magnitude = file_start < 0
                                           ? 0ULL - static_cast<unsigned long long>(file_start)
                                           : static_cast<unsigned long long>(file_start);
  std::snprintf(start, sizeof start, "%s0x%llx", file_start < 0 ? "-" : "", magnitude);
  return std::string(source_name) + " @ " + start;
}

bool IsTickedByDefault(std::string_view name) {
  return text::LowerAscii(name).find("deleted") != std::string::npos;
}

std::vector<FolderFile> FillFolderList(const std::string& store_root) {
  std::vector<FolderFile> folders;
  // Without a root there is no store folder; listing "" would list the working folder.
  if (store_root.empty())
    return folders;
  std::string database;
  for (const platform::DirectoryEntry& entry : platform::ListDirectory(store_root)) {
    if (entry.is_file && IsRecoverableFolderFile(entry.name))
      folders.push_back({entry.name, IsTickedByDefault(entry.name)});
    else if (entry.is_file && text::EqualsIgnoringAsciiCase(entry.name, "folders.dbx"))
      database = JoinStorePath(store_root, entry.name);
  }
  if (!database.empty())
    NameFolderFiles(database, folders);
  return folders;
}

void NameFolderFiles(const std::string& database_path, std::vector<FolderFile>& folders) {
  std::vector<uoexpress::FolderRecord> records;
  try {
    records = uoexpress::ReadFolderRecords(database_path);
  } catch (const uoexpress::EFOpenError&) {
    return; // held by a running Outlook Express, or gone: the file names serve
  }
  std::unordered_map<std::string, const uoexpress::FolderRecord*> by_file;
  for (const uoexpress::FolderRecord& record : records) {
    // Only the name counts, should a record carry a folder part.
    const std::string_view file = record.FileName;
    const std::size_t separator = file.find_last_of("\\/");
    const std::string_view name = separator == file.npos ? file : file.substr(separator + 1);
    if (!name.empty())
      by_file.emplace(text::LowerAscii(name), &record);
  }
  const uoexpress::FolderPaths paths(records);
  for (FolderFile& folder : folders) {
    const auto found = by_file.find(text::LowerAscii(folder.name));
    if (found == by_file.end() || found->second->Name.empty())
      continue;
    folder.display_name = found->second->Name;
    folder.display_path = paths.Of(*found->second);
  }
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
