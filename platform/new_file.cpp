#include "new_file.h"

#include "temporary_file.h"

#include <cstdio>
#include <stdexcept>

namespace platform {

namespace {

std::runtime_error CannotCreate(const std::string& path) {
  return std::runtime_error("Cannot create file " + path);
}

// Publishes `file` as `path`; throws when it could be neither named nor closed.
NewFileResult Publish(TemporaryFile& file, const std::string& path) {
  bool failed = false;
  const NewFileResult result = file.Publish(path, failed);
  if (failed)
    throw CannotCreate(path);
  if (result == NewFileResult::Created && !file.Close()) {
    ::remove(path.c_str()); // a file whose last bytes may be missing never keeps its name
    throw CannotCreate(path);
  }
  return result;
}

} // namespace

NewFileResult WriteNewFile(const std::string& path, std::string_view bytes) {
  TemporaryFile file(path);
  if (!file.ok() || !file.WriteAll(bytes))
    throw CannotCreate(path);
  return Publish(file, path);
}

UnnamedFile::UnnamedFile(const std::string& first_name, std::string_view bytes,
                         std::optional<std::int64_t> modified)
    : file_(std::make_unique<TemporaryFile>(first_name)), first_name_(first_name) {
  if (!file_->ok() || !file_->WriteAll(bytes))
    throw CannotCreate(first_name);
  if (modified)
    file_->SetModified(*modified); // a date the volume cannot hold leaves the time of saving
}

UnnamedFile::~UnnamedFile() = default;

std::string
UnnamedFile::PublishUnderFirstFreeName(const std::function<std::string(int)>& name_for) {
  for (int n = 0;; ++n) {
    std::string name = n == 0 ? first_name_ : name_for(n);
    if (Publish(*file_, name) == NewFileResult::Created)
      return name;
  }
}

std::string WriteNewFileUnderFirstFreeName(const std::function<std::string(int)>& name_for,
                                           std::string_view bytes,
                                           std::optional<std::int64_t> modified) {
  return UnnamedFile(name_for(0), bytes, modified).PublishUnderFirstFreeName(name_for);
}

NewFileResult MoveToNewName(const std::string& from, const std::string& to) {
  bool failed = false;
  const NewFileResult result = MoveWithoutReplacing(from, to, failed);
  if (failed)
    throw std::runtime_error("Cannot create file " + to);
  return result;
}

} // namespace platform
