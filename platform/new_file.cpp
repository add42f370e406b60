#include "new_file.h"

#include "temporary_file.h"

#include <stdexcept>

namespace platform {

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

} // namespace platform
