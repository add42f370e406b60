// Positioned reading of a file, the only way the store reader touches file bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class RandomAccessFile {
public:
  virtual ~RandomAccessFile() = default;

  // Reads up to `size` bytes at `offset` into `buffer` and returns how many were read.
  // A negative offset or one at or past the end reads nothing.
  virtual std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) = 0;

  virtual std::int64_t Size() const = 0;
};

// Opens a file for reading; returns nullptr when it cannot be opened.
using FileOpener = std::unique_ptr<RandomAccessFile> (*)(const std::string& path);

// Plain standard-library opener, without any locking.
std::unique_ptr<RandomAccessFile> OpenFileForReading(const std::string& path);

// The opener the store reader uses. The application installs one that opens exclusively
// (see exclusive_file.h); nullptr restores the plain opener.
void SetFileOpener(FileOpener opener);
std::unique_ptr<RandomAccessFile> OpenReaderFile(const std::string& path);

} // namespace platform
