// A folder file written to a fresh temporary path for one test and removed afterwards.
#pragma once

#include "dbx_writer.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace dbxtest {

class TempStore {
public:
  explicit TempStore(const DbxImage& image) : TempStore(image.bytes()) {}
  explicit TempStore(const std::string& bytes) {
    static std::atomic<int> counter{0};
    path_ =
        (std::filesystem::temp_directory_path() /
         ("salvora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".dbx"))
            .string();
    DbxImage image;
    image.bytes() = bytes;
    image.WriteTo(path_);
  }
  ~TempStore() { std::filesystem::remove(path_); }
  TempStore(const TempStore&) = delete;
  TempStore& operator=(const TempStore&) = delete;

  const std::string& path() const { return path_; }

private:
  std::string path_;
};

} // namespace dbxtest
