#include "random_access_file.h"

#include <cstdio>
#include <mutex>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace platform {
namespace {

// Seeking by 64-bit offsets: a long holds only 32 bits on Windows, where disk images of many
// gigabytes are read as well.
int SeekTo(std::FILE* file, std::int64_t offset, int origin) {
#ifdef _WIN32
  return ::_fseeki64(file, offset, origin);
#else
  static_assert(sizeof(off_t) >= sizeof(std::int64_t), "build with 64-bit file offsets");
  return ::fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

std::int64_t Position(std::FILE* file) {
#ifdef _WIN32
  return ::_ftelli64(file);
#else
  return ::ftello(file);
#endif
}

class StdioFile final : public RandomAccessFile {
public:
  StdioFile(std::FILE* file, std::int64_t size) : file_(file), size_(size) {}
  ~StdioFile() override { std::fclose(file_); }
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    return ReadAtChecked(offset, buffer, size).got;
  }

  ReadResult ReadAtChecked(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= size_ || size == 0)
      return {};
    // One stream position: a piece reader's thread and its caller may read at once.
    std::lock_guard lock(mutex_);
    if (position_ != offset && SeekTo(file_, offset, SEEK_SET) != 0) {
      position_ = -1;
      return {0, true};
    }
    ReadResult result{std::fread(buffer, 1, size, file_), false};
    position_ = offset + static_cast<std::int64_t>(result.got);
    if (result.got < size) {
      result.failed = std::ferror(file_) != 0;
      if (result.failed)
        position_ = -1; // where a failed read leaves the stream is not said
      std::clearerr(file_);
    }
    return result;
  }

  std::int64_t Size() const override { return size_; }

private:
  std::FILE* file_;
  std::int64_t size_;
  std::mutex mutex_;
  std::int64_t position_ = 0;
};

FileOpener g_opener = &OpenFileForReading;

} // namespace

ReadResult RandomAccessFile::ReadAtChecked(std::int64_t offset, char* buffer, std::size_t size) {
  const std::size_t got = ReadAt(offset, buffer, size);
  // Short of both what was asked and the end of the file: something stopped the read.
  const bool failed = got < size && offset >= 0 && Size() - offset > static_cast<std::int64_t>(got);
  return {got, failed};
}

std::unique_ptr<RandomAccessFile> OpenFileForReading(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return nullptr;
  // Seeking to the end gives the size of a block device too, where the file's status says 0.
  std::int64_t size = -1;
  if (SeekTo(file, 0, SEEK_END) == 0)
    size = Position(file);
  if (size < 0 || SeekTo(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return nullptr;
  }
  return std::make_unique<StdioFile>(file, size);
}

void SetFileOpener(FileOpener opener) {
  g_opener = opener ? opener : &OpenFileForReading;
}

std::unique_ptr<RandomAccessFile> OpenReaderFile(const std::string& path) {
  return g_opener(path);
}

} // namespace platform
