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

private:
  std::size_t ReadDirect(std::int64_t offset, char* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      // A synchronous handle reads at the position given in the OVERLAPPED block.
      OVERLAPPED at{};
      const auto position = static_cast<std::uint64_t>(offset) + done;
      at.Offset = static_cast<DWORD>(position);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
      DWORD got = 0;
      if (!::ReadFile(handle_, buffer + done, wanted, &got, &at) || got == 0)
        break;
      done += got;
    }
    return done;
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
