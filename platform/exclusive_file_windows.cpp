#include "exclusive_file.h"
#include "read_ahead_file.h"

#include <algorithm>
#include <windows.h>

namespace platform {
namespace {

// Opened without sharing: while we hold the file, nobody else can open it, and a file someone
// else holds does not open for us.
class UnsharedFile final : public ReadAheadFile {
public:
  UnsharedFile(HANDLE handle, std::int64_t size) : ReadAheadFile(size), handle_(handle) {}
  ~UnsharedFile() override { ::CloseHandle(handle_); }
  UnsharedFile(const UnsharedFile&) = delete;
  UnsharedFile& operator=(const UnsharedFile&) = delete;

  // Straight from the file, past the windows: only the handle is shared, so a piece reader's
  // thread may read this way while its caller reads through the windows.
  ReadResult ReadAtChecked(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= Size())
      return {};
    size = static_cast<std::size_t>(std::min(Size() - offset, static_cast<std::int64_t>(size)));
    ReadResult result;
    while (result.got < size) {
      // A synchronous handle reads at the position given in the OVERLAPPED block.
      OVERLAPPED at{};
      const auto position = static_cast<std::uint64_t>(offset) + result.got;
      at.Offset = static_cast<DWORD>(position);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size - result.got, 1u << 30));
      DWORD got = 0;
      if (!::ReadFile(handle_, buffer + result.got, wanted, &got, &at)) {
        result.failed = ::GetLastError() != ERROR_HANDLE_EOF;
        break;
      }
      if (got == 0)
        break;
      result.got += got;
    }
    return result;
  }

private:
  std::size_t ReadDirect(std::int64_t offset, char* buffer, std::size_t size) override {
    return ReadAtChecked(offset, buffer, size).got;
  }

  HANDLE handle_;
};

} // namespace

std::unique_ptr<RandomAccessFile> OpenExclusiveForReading(const std::string& path) {
  HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, 0 /* no sharing */, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return nullptr;
  LARGE_INTEGER size{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &size)) {
    ::CloseHandle(handle);
    return nullptr;
  }
  return std::make_unique<UnsharedFile>(handle, static_cast<std::int64_t>(size.QuadPart));
}

} // namespace platform
