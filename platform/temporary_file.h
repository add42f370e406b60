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
  // Creates the file in the folder of `path`: where the system can, a file with no name at all
  // until it is published, else one with a name no other file has.
  explicit TemporaryFile(const std::string& path);
  // Removes the file unless it has taken its name.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool ok() const { return !name_.empty() || anonymous_; }

  // Writes all of `bytes`; a file with a name is closed then. False when any of it fails.
  bool WriteAll(std::string_view bytes);

  // Sets the modification time (seconds since 1970, UTC); false when it cannot be set.
  bool SetModified(std::int64_t unix_seconds);

  // Gives the file the name `path` unless something stands there (AlreadyExists); sets
  // `failed` when the name could not be given for another reason.
  NewFileResult Publish(const std::string& path, bool& failed);

  // Closes the file if it is still open; false when closing reports an error.
  bool Close();

private:
  std::string name_;          // empty once renamed, or when none was made
  bool anonymous_ = false;    // made without a name: it is published by linking it
  std::intptr_t handle_ = -1; // the open file (a descriptor, or a HANDLE); -1 once closed
};

// Gives the file at `from` the name `to` on the same volume unless something stands there
// (AlreadyExists; the file stays at `from`); sets `failed` when the name could not be given for
// another reason.
NewFileResult MoveWithoutReplacing(const std::string& from, const std::string& to, bool& failed);

} // namespace platform
