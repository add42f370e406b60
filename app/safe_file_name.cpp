#include "safe_file_name.h"

#include "platform/path_separator.h"
#include "text/ascii.h"

#include <array>

namespace app {
namespace {

constexpr std::size_t kMaxNameBytes = 150;
constexpr std::size_t kMaxExtensionBytes = 20;

bool IsForbidden(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 32 || byte == 127 ||
         std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}

// Windows opens the device instead of a file for these names, whatever follows the first dot.
bool IsDeviceName(std::string_view name) {
  static constexpr std::array<std::string_view, 6> kDevices = {"con", "prn",    "aux",
                                                               "nul", "conin$", "conout$"};
  const std::string stem = text::LowerAscii(name.substr(0, name.find('.')));
  for (std::string_view device : kDevices) {
    if (stem == device)
      return true;
  }
  return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

// The extension, with its dot, when there is a short one after a non-empty stem.
std::size_t ExtensionStart(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || name.size() - dot > kMaxExtensionBytes)
    return name.size();
  return dot;
}

// At most `limit` bytes of UTF-8 text, never ending inside a character.
std::string_view CutUtf8(std::string_view text, std::size_t limit) {
  if (text.size() <= limit)
    return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  return text.substr(0, end);
}

} // namespace

std::string SafeFileName(std::string_view name, std::string_view fallback) {
  const std::size_t separator = name.find_last_of("/\\");
  if (separator != std::string_view::npos)
    name.remove_prefix(separator + 1);
  std::string safe(name);
  for (char& c : safe) {
    if (IsForbidden(c))
      c = '_';
  }
  const std::size_t first = safe.find_first_not_of(". ");
  const std::size_t last = safe.find_last_not_of(". ");
  safe = first == std::string::npos ? std::string() : safe.substr(first, last - first + 1);
  if (safe.empty())
    return std::string(fallback);
  if (IsDeviceName(safe))
    safe = '_' + safe; // not insert(0, "_"): GCC 12 at -O3 reports a false overlap for it
  if (safe.size() > kMaxNameBytes) {
    const std::size_t extension = ExtensionStart(safe);
    const std::string tail = safe.substr(extension);
    safe = std::string(CutUtf8(safe, kMaxNameBytes - tail.size())) + tail;
  }
  return safe;
}

std::string NumberedPath(const std::string& folder, std::string_view name, int n) {
  std::string path = folder + platform::kPathSeparator;
  if (n == 0)
    return path + std::string(name);
  const std::size_t extension = ExtensionStart(name);
  // Appended piece by piece: GCC 12 at -O3 reports a false overlap for "_" + std::to_string(n).
  path += name.substr(0, extension);
  path += '_';
  path += std::to_string(n);
  path += name.substr(extension);
  return path;
}

} // namespace app
