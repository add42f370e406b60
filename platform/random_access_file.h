// Positioned reading of a file, the only way the store reader touches file bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// What a checked read did: `got` bytes from the offset on were read; `failed` says a read error
// stopped it, where otherwise only the end of the file stops a read short.
struct ReadResult {
  std::size_t got = 0;
  bool failed = false;
};

class RandomAccessFile {
public:
  virtual ~RandomAccessFile() = default;

  // Reads up to `size` bytes at `offset` into `buffer` and returns how many were read.
  // A negative offset or one at or past the end reads nothing.
  virtual std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) = 0;

  // As ReadAt, but tells a read error from the end of the file. Files that can ask the system
  // override it; this one takes a read that stops short before Size() for an error.
  virtual ReadResult ReadAtChecked(std::int64_t offset, char* buffer, std::size_t size);

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
