// Creating files that must never be seen half-written and never replace another file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class NewFileResult { Created, AlreadyExists };

// True when anything (file, folder, link) stands at `path`.
bool PathExists(const std::string& path);

// Writes `bytes` to a temporary file in the same folder and gives it the name `path` only
// after the last byte is written, never replacing what stands there (AlreadyExists; the
// temporary file is removed). Throws std::runtime_error("Cannot create file " + path) when
// the file cannot be written.
NewFileResult WriteNewFile(const std::string& path, std::string_view bytes);

// Writes `bytes` into a new file that has no name until it is complete, then gives it the first
// of the names name_for(0), name_for(1), ... at which nothing stands, and returns that name.
// `modified` (seconds since 1970, UTC) becomes its modification time when given and the file
// system can hold it. Throws std::runtime_error("Cannot create file " + name) when the file
// cannot be written or named.
std::string WriteNewFileUnderFirstFreeName(const std::function<std::string(int)>& name_for,
                                           std::string_view bytes,
                                           std::optional<std::int64_t> modified = {});

class TemporaryFile;

// WriteNewFileUnderFirstFreeName in two steps: the file is written whole (on any thread), then
// named (in the order the names must be taken). Removed unless it was named.
class UnnamedFile {
public:
  // Throws std::runtime_error("Cannot create file " + first_name) when it cannot be written.
  UnnamedFile(const std::string& first_name, std::string_view bytes,
              std::optional<std::int64_t> modified);
  ~UnnamedFile();
  UnnamedFile(const UnnamedFile&) = delete;
  UnnamedFile& operator=(const UnnamedFile&) = delete;

  // Gives the file the first of name_for(0), name_for(1), ... at which nothing stands, and
  // returns it; throws std::runtime_error("Cannot create file " + name) when it cannot.
  std::string PublishUnderFirstFreeName(const std::function<std::string(int)>& name_for);

private:
  std::unique_ptr<TemporaryFile> file_;
  std::string first_name_;
};

// Gives the file at `from` the name `to` on the same volume, never replacing what stands at
// `to` (AlreadyExists; the file stays where it was). Throws std::runtime_error("Cannot create
// file " + to) when it cannot be moved.
NewFileResult MoveToNewName(const std::string& from, const std::string& to);

} // namespace platform
