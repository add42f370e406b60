#include "mime/content_type.h"

namespace mime {
namespace {

std::string NothingRegistered(std::string_view) {
  return {};
}

ContentTypeLookup g_lookup = &NothingRegistered;

} // namespace

std::string_view FileExtension(std::string_view file_name) {
  const std::size_t dot = file_name.rfind('.');
  if (dot == std::string_view::npos)
    return {};
  const std::size_t separator = file_name.find_last_of("\\:");
  if (separator != std::string_view::npos && separator > dot)
    return {};
  return file_name.substr(dot);
}

std::string ContentTypeOfFile(std::string_view file_name) {
  const std::string_view extension = FileExtension(file_name);
  std::string type = extension.empty() ? std::string() : g_lookup(extension);
  if (type.empty())
    type = "application/octet-stream";
  return type;
}

void SetContentTypeLookup(ContentTypeLookup lookup) {
  g_lookup = lookup ? lookup : &NothingRegistered;
}

} // namespace mime
