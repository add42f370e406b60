#include "file_time.h"
#include "new_file.h"
#include "temporary_file.h"

#include <algorithm>
#include <windows.h>

namespace platform {
namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos)
    return ".";
  // "C:\x" lies in "C:\", not in the drive's current folder "C:".
  if (separator == 0 || (separator == 2 && path[1] == ':'))
    return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

} // namespace

TemporaryFile::TemporaryFile(const std::string& path) {
  char name[MAX_PATH] = {};
  // Creates the file, with a name no other file has.
  if (::GetTempFileNameA(FolderOf(path).c_str(), "slv", 0, name) == 0)
    return;
  name_ = name;
  handle_ = reinterpret_cast<std::intptr_t>(::CreateFileA(
      name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

TemporaryFile::~TemporaryFile() {
  if (AsHandle(handle_) != INVALID_HANDLE_VALUE)
    ::CloseHandle(AsHandle(handle_));
  if (!name_.empty())
    ::DeleteFileA(name_.c_str());
}

bool TemporaryFile::WriteAll(std::string_view bytes) {
  const HANDLE handle = AsHandle(handle_);
  if (handle == INVALID_HANDLE_VALUE)
    return false;
  bool written = true;
  while (written && !bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD done = 0;
    written = ::WriteFile(handle, bytes.data(), chunk, &done, nullptr) && done > 0;
    bytes.remove_prefix(done);
  }
  handle_ = -1;
  // Closing reports late write errors too.
  return ::CloseHandle(handle) && written;
}

bool TemporaryFile::SetModified(std::int64_t unix_seconds) {
  return SetFileModificationTime(name_, unix_seconds); // the rename keeps it
}

NewFileResult TemporaryFile::Publish(const std::string& path, bool& failed) {
  const NewFileResult result = MoveWithoutReplacing(name_, path, failed);
  if (result == NewFileResult::Created)
    name_.clear();
  return result;
}

bool TemporaryFile::Close() {
  return true; // WriteAll closed it
}

NewFileResult MoveWithoutReplacing(const std::string& from, const std::string& to, bool& failed) {
  // Without MOVEFILE_REPLACE_EXISTING a rename never replaces.
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
    failed = false;
    return NewFileResult::Created;
  }
  const DWORD error = ::GetLastError();
  failed = error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS;
  return NewFileResult::AlreadyExists;
}

bool PathExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace platform
