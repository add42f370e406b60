#include "native_path.h"
#include "text/ascii.h"
#include "wine_prefix.h"

#include <filesystem>
#include <system_error>

namespace platform {
namespace {

bool IsDrivePath(std::string_view path) {
  const char letter = text::ToLowerAscii(path.empty() ? '\0' : path[0]);
  return path.size() >= 2 && letter >= 'a' && letter <= 'z' && path[1] == ':' &&
         (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

// The entry of `folder` named `component` in any letter case; the exact name is preferred.
std::string MatchingEntry(const std::filesystem::path& folder, const std::string& component) {
  std::error_code error;
  if (std::filesystem::exists(folder / component, error))
    return component;
  std::string best;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (text::EqualsIgnoringAsciiCase(name, component) && (best.empty() || name < best))
      best = name;
  }
  return best.empty() ? component : best;
}

} // namespace

std::string ToNativePath(std::string_view path) {
  if (!IsDrivePath(path))
    return std::string(path);
  std::filesystem::path native = WinePrefixFolder();
  native /= "dosdevices";
  native /= std::string(1, text::ToLowerAscii(path[0])) + ':';
  std::size_t pos = 2;
  while (pos < path.size()) {
    const auto end = path.find_first_of("\\/", pos);
    const std::string component(path.substr(pos, end == std::string_view::npos ? end : end - pos));
    pos = end == std::string_view::npos ? path.size() : end + 1;
    if (component.empty() || component == ".")
      continue;
    native /= component == ".." ? component : MatchingEntry(native, component);
  }
  std::string result = native.string();
  if (path.size() > 2 && (path.back() == '\\' || path.back() == '/'))
    result += '/';
  return result;
}

} // namespace platform
