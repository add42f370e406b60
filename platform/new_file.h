// Creating files that must never be seen half-written and never replace another file.
#pragma once

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

// Gives the file at `from` the name `to` on the same volume, never replacing what stands at
// `to` (AlreadyExists; the file stays where it was). Throws std::runtime_error("Cannot create
// file " + to) when it cannot be moved.
NewFileResult MoveToNewName(const std::string& from, const std::string& to);

} // namespace platform
