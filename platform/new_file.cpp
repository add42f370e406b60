#include "new_file.h"

#include "temporary_file.h"

#include <stdexcept>

namespace platform {

NewFileResult TemporaryFile::Publish(const std::string& path, bool& failed) {
  const NewFileResult result = MoveWithoutReplacing(name_, path, failed);
  if (result == NewFileResult::Created)
    name_.clear();
  return result;
}

NewFileResult WriteNewFile(const std::string& path, std::string_view bytes) {
  const auto cannot_create = [&path] { return std::runtime_error("Cannot create file " + path); };
  TemporaryFile file(path);
  if (!file.ok() || !file.WriteAll(bytes))
    throw cannot_create();
  bool failed = false;
  const NewFileResult result = file.Publish(path, failed);
  if (failed)
    throw cannot_create();
  return result;
}

NewFileResult MoveToNewName(const std::string& from, const std::string& to) {
  bool failed = false;
  const NewFileResult result = MoveWithoutReplacing(from, to, failed);
  if (failed)
    throw std::runtime_error("Cannot create file " + to);
  return result;
}

} // namespace platform
