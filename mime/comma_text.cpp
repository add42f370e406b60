#include "mime/comma_text.h"

namespace mime {
namespace {

bool NeedsQuotes(const std::string& item) {
  for (char c : item) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 1 && byte <= 32) || c == '"' || c == ',')
      return true;
  }
  return false;
}

} // namespace

std::string CommaText(const std::vector<std::string>& items) {
  if (items.size() == 1 && items[0].empty())
    return "\"\"";
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0)
      out += ',';
    const std::string& item = items[i];
    if (!NeedsQuotes(item)) {
      out += item;
      continue;
    }
    out += '"';
    for (char c : item) {
      if (c == '"')
        out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

} // namespace mime
