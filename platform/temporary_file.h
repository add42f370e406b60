// The system's part of WriteNewFile and MoveToNewName (new_file.h): a temporary file beside the
// file it is to become, written whole, then given its name without replacing anything. One
// source per system.
#pragma once

#include "new_file.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class TemporaryFile {
public:
  // Creates the file, with a name no other file has, in the folder of `path`.
  explicit TemporaryFile(const std::string& path);
  // Removes the file unless it has taken its name.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool ok() const { return !name_.empty(); }

  // Writes all of `bytes` and closes the file; false when any of it fails.
  bool WriteAll(std::string_view bytes);

  // Gives the file the name `path` unless something stands there (AlreadyExists); sets
  // `failed` when the name could not be given for another reason.
  NewFileResult Publish(const std::string& path, bool& failed);

private:
  std::string name_;          // empty once renamed, or when none was made
  std::intptr_t handle_ = -1; // the open file (a descriptor, or a HANDLE); -1 once closed
};

// Gives the file at `from` the name `to` on the same volume unless something stands there
// (AlreadyExists; the file stays at `from`); sets `failed` when the name could not be given for
// another reason.
NewFileResult MoveWithoutReplacing(const std::string& from, const std::string& to, bool& failed);

} // namespace platform
