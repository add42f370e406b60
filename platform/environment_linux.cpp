#include "environment.h"
#include "text/ascii.h"
#include "wine_prefix.h"

#include <cstdlib>
#include <optional>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// Wine's own values may refer to one another (TEMP=%USERPROFILE%\Temp); a cycle must end.
constexpr int kMaxDepth = 4;

std::optional<std::string> FromProcessEnvironment(std::string_view name) {
  if (const char* value = std::getenv(std::string(name).c_str()))
    return std::string(value);
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view item(*entry);
    const auto equals = item.find('=');
    if (equals != std::string_view::npos &&
        text::EqualsIgnoringAsciiCase(item.substr(0, equals), name))
      return std::string(item.substr(equals + 1));
  }
  return std::nullopt;
}

class Expander {
public:
  std::string Expand(std::string_view text, int depth) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
      const auto open = text.find('%', pos);
      const auto close = open == std::string_view::npos ? open : text.find('%', open + 1);
      if (close == std::string_view::npos) {
        out += text.substr(pos);
        break;
      }
      out += text.substr(pos, open - pos);
      const std::string_view name = text.substr(open + 1, close - open - 1);
      if (auto value = name.empty() ? std::nullopt : Lookup(name, depth)) {
        out += *value;
        pos = close + 1;
      } else {
        // The closing % may open the next reference, as in "%unknown%PATH%".
        out += text.substr(open, close - open);
        pos = close;
      }
    }
    return out;
  }

private:
  std::optional<std::string> Lookup(std::string_view name, int depth) {
    if (auto value = FromProcessEnvironment(name))
      return value;
    if (depth >= kMaxDepth)
      return std::nullopt;
    if (!wine_) {
      wine_ = LoadHiveFile(WineUserHivePath());
    }
    for (const char* key : {"Volatile Environment", "Environment"}) {
      if (auto value = wine_->ReadString(key, name))
        return Expand(*value, depth + 1);
    }
    // Wine gives every user the profile folder C:\users\<login name>.
    if (text::EqualsIgnoringAsciiCase(name, "USERPROFILE")) {
      if (auto user = FromProcessEnvironment("USER"))
        return "C:\\users\\" + *user;
    }
    return std::nullopt;
  }

  std::optional<WineHive> wine_;
};

} // namespace

std::string ExpandEnvironmentReferences(std::string_view text) {
  return Expander().Expand(text, 0);
}

} // namespace platform
