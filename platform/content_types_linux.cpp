#include "platform/content_types.h"
#include "text/ascii.h"

#include <fstream>
#include <iterator>

namespace platform {
namespace {

constexpr const char* kMimeTypesFile = "/etc/mime.types";

const ContentTypeTable& SystemTable() {
  static const ContentTypeTable table = [] {
    std::ifstream file(kMimeTypesFile, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return ParseMimeTypes(text);
  }();
  return table;
}

} // namespace

std::string ContentTypeForExtension(std::string_view extension) {
  const ContentTypeTable& table = SystemTable();
  const auto found = table.find(text::LowerAscii(extension));
  return found == table.end() ? std::string() : found->second;
}

} // namespace platform
