#include "new_file.h"

#include <algorithm>
#include <stdexcept>
#include <windows.h>

namespace platform {
namespace {

// Owns the temporary file until it has been given its name.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& folder) {
    char name[MAX_PATH] = {};
    // Creates the file, with a name no other file has.
    if (::GetTempFileNameA(folder.c_str(), "slv", 0, name) != 0)
      name_ = name;
  }
  ~TemporaryFile() {
    if (!name_.empty())
      ::DeleteFileA(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool ok() const { return !name_.empty(); }

  bool WriteAll(std::string_view bytes) {
    HANDLE handle = ::CreateFileA(name_.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      return false;
    bool written = true;
    while (written && !bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      DWORD done = 0;
      written = ::WriteFile(handle, bytes.data(), chunk, &done, nullptr) && done > 0;
      bytes.remove_prefix(done);
    }
    // Closing reports late write errors too.
    return ::CloseHandle(handle) && written;
  }

  // Gives the file its name unless something stands there already; a rename without
  // MOVEFILE_REPLACE_EXISTING never replaces.
  NewFileResult Publish(const std::string& path, bool& failed) {
    failed = false;
    if (::MoveFileExA(name_.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
      name_.clear();
      return NewFileResult::Created;
    }
    const DWORD error = ::GetLastError();
    failed = error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS;
    return NewFileResult::AlreadyExists;
  }

private:
  std::string name_; // empty once renamed, or when none was made
};

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos)
    return ".";
  // "C:\x" lies in "C:\", not in the drive's current folder "C:".
  if (separator == 0 || (separator == 2 && path[1] == ':'))
    return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

[[noreturn]] void CannotCreate(const std::string& path) {
  throw std::runtime_error("Cannot create file " + path);
}

} // namespace

bool PathExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

NewFileResult WriteNewFile(const std::string& path, std::string_view bytes) {
  TemporaryFile file(FolderOf(path));
  if (!file.ok() || !file.WriteAll(bytes))
    CannotCreate(path);
  bool failed = false;
  NewFileResult result = file.Publish(path, failed);
  if (failed)
    CannotCreate(path);
  return result;
}

} // namespace platform
