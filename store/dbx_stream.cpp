#include "dbx_stream.h"

#include "dbx_layout.h"
#include "uoexpress.h"

namespace uoexpress {

EFOpenError::EFOpenError(const std::string& path)
    : std::runtime_error("Cannot open file " + path) {}

DbxStream::DbxStream(const std::string& path) : file_(platform::OpenReaderFile(path)) {
  if (!file_)
    throw EFOpenError(path);
  size_ = file_->Size();
}

void DbxStream::Read(std::int64_t offset, void* buffer, std::size_t size) {
  auto* out = static_cast<char*>(buffer);
  std::size_t got = 0;
  if (offset >= 0 && offset < size_)
    got = file_->ReadAt(offset, out, size);
  if (got < size)
    std::memset(out + got, 0, size - got);
}

std::size_t DbxStream::ReadUntilError(std::int64_t offset, void* buffer, std::size_t size) {
  auto* out = static_cast<char*>(buffer);
  platform::ReadResult read;
  if (offset >= 0 && offset < size_)
    read = file_->ReadAtChecked(offset, out, size);
  if (read.got < size)
    std::memset(out + read.got, 0, size - read.got);
  return read.failed ? read.got : size;
}

std::int32_t DbxStream::ReadInt32(std::int64_t offset) {
  unsigned char bytes[4];
  Read(offset, bytes, sizeof bytes);
  return LoadInt32(bytes);
}

Toe5_FileHeader ReadFileHeader(DbxStream& stream) {
  return {stream.ReadInt32(layout::kMessageCount)};
}

} // namespace uoexpress
