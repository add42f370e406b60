#include "mime/trim.h"

namespace mime {

std::string_view TrimLeftSpaces(std::string_view s) {
  std::size_t first = 0;
  while (first < s.size() && s[first] == ' ')
    ++first;
  return s.substr(first);
}

std::string_view TrimRightSpaces(std::string_view s) {
  std::size_t end = s.size();
  while (end > 0 && s[end - 1] == ' ')
    --end;
  return s.substr(0, end);
}

std::string_view TrimSpaces(std::string_view s) {
  return TrimRightSpaces(TrimLeftSpaces(s));
}

std::string PadLeft(std::string_view text, std::size_t width, std::string_view fill) {
  std::string out(TrimLeftSpaces(text));
  if (out.size() > width)
    return out.substr(out.size() - width);
  if (fill.empty())
    return out; // nothing to pad with; avoid looping forever
  while (out.size() < width)
    out.insert(0, fill);
  return out;
}

} // namespace mime
