#include "text/trim.h"

namespace text {

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

} // namespace text
