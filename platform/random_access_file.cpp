#include "random_access_file.h"

#include <cstdio>

namespace platform {
namespace {

class StdioFile final : public RandomAccessFile {
public:
  StdioFile(std::FILE* file, std::int64_t size) : file_(file), size_(size) {}
  ~StdioFile() override { std::fclose(file_); }
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= size_ || size == 0)
      return 0;
    // Store offsets are signed 32-bit, so they fit a long on every platform we build for.
    if (position_ != offset && std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
      position_ = -1;
      return 0;
    }
    std::size_t got = std::fread(buffer, 1, size, file_);
    position_ = offset + static_cast<std::int64_t>(got);
    if (got < size)
      std::clearerr(file_);
    return got;
  }

  std::int64_t Size() const override { return size_; }

private:
  std::FILE* file_;
  std::int64_t size_;
  std::int64_t position_ = 0;
};

FileOpener g_opener = &OpenFileForReading;

} // namespace

std::unique_ptr<RandomAccessFile> OpenFileForReading(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return nullptr;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0)
    size = std::ftell(file);
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
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
