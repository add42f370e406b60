#include "file_system.h"
#include "text/ascii.h"

#include <algorithm>
#include <windows.h>

namespace platform {
namespace {

class FindHandle {
public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE)
      ::FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }

private:
  HANDLE handle_;
};

// Volume and file index name a file whatever path leads to it.
bool SameFile(const std::string& a, const std::string& b) {
  const auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE handle =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      return false;
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    return known;
  };
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  return identity(a, first) && identity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace

std::vector<DirectoryEntry> ListDirectory(const std::string& folder) {
  std::vector<DirectoryEntry> entries;
  const bool ends_with_separator =
      !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  const std::string pattern = folder + (ends_with_separator ? "*" : "\\*");
  WIN32_FIND_DATAA data{};
  FindHandle find(::FindFirstFileA(pattern.c_str(), &data));
  if (find.get() == INVALID_HANDLE_VALUE)
    return entries;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..")
      continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0});
  } while (::FindNextFileA(find.get(), &data));
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    const int order = text::CompareIgnoringAsciiCase(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
  });
  return entries;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  const DWORD source = ::GetFileAttributesA(from.c_str());
  if (source == INVALID_FILE_ATTRIBUTES || (source & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return false;
  // Replacing the target must never replace the source: copying a file onto itself fails.
  if (SameFile(from, to))
    return false;
  if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) {
    ::DeleteFileA(to.c_str());
    return false;
  }
  // The copy takes the source's attributes; a read-only copy could not be removed later.
  const DWORD copied = ::GetFileAttributesA(to.c_str());
  if (copied != INVALID_FILE_ATTRIBUTES && (copied & FILE_ATTRIBUTE_READONLY) != 0)
    ::SetFileAttributesA(to.c_str(), copied & ~FILE_ATTRIBUTE_READONLY);
  return true;
}

bool RemoveFile(const std::string& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes =
      path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeDirectory(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

} // namespace platform
