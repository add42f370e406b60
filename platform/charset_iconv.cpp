#include "charset.h"
#include "text/ascii.h"

#include <cerrno>
#include <iconv.h>

namespace platform {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD"; // U+FFFD
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// Names mail programs of Outlook Express's time wrote that iconv knows by another name.
constexpr std::pair<std::string_view, const char*> kAliases[] = {
    {"ks_c_5601-1987", "CP949"},    {"x-sjis", "SHIFT_JIS"},        {"shift-jis", "SHIFT_JIS"},
    {"iso-8859-8-i", "ISO-8859-8"}, {"unicode-1-1-utf-7", "UTF-7"}, {"x-unicode20utf8", "UTF-8"},
    {"x-mac-roman", "MACINTOSH"},   {"x-euc-jp", "EUC-JP"},         {"x-gbk", "GBK"},
};

// A name as a message gives it, ready for iconv_open; empty when it cannot be a character
// set's name. Message text chooses this name, so it is kept to the characters names use: no
// "//" suffixes or paths reach iconv.
std::string IconvName(std::string_view charset) {
  charset = charset.substr(0, charset.find('*'));
  if (charset.empty() || charset.size() > 40)
    return {};
  for (char c : charset) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':' ||
                         c == '+' || c == '(' || c == ')';
    if (!allowed)
      return {};
  }
  for (const auto& [alias, name] : kAliases) {
    if (text::EqualsIgnoringAsciiCase(charset, alias))
      return name;
  }
  return std::string(charset);
}

class Converter {
public:
  explicit Converter(const std::string& from) : cd_(::iconv_open("UTF-8", from.c_str())) {}
  ~Converter() {
    if (ok())
      ::iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::string Convert(std::string_view bytes) {
    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    while (in_left > 0) {
      char* next = buffer;
      std::size_t out_left = sizeof buffer;
      const bool failed = ::iconv(cd_, &in, &in_left, &next, &out_left) == kFailed;
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(next - buffer));
      if (!failed || error == E2BIG)
        continue;
      out += kReplacement;
      if (error == EILSEQ) {
        ++in; // the byte that starts no valid sequence
        --in_left;
      } else {
        in_left = 0; // a sequence cut short at the end, or a failure of another kind
      }
    }
    // Stateful encodings (ISO-2022-JP) may end with a sequence that returns to ASCII.
    for (bool more = true; more;) {
      char* next = buffer;
      std::size_t out_left = sizeof buffer;
      more = ::iconv(cd_, nullptr, nullptr, &next, &out_left) == kFailed && errno == E2BIG;
      out.append(buffer, static_cast<std::size_t>(next - buffer));
    }
    return out;
  }

private:
  iconv_t cd_;
};

} // namespace

std::optional<std::string> ConvertToUtf8(std::string_view charset, std::string_view bytes) {
  const std::string name = IconvName(charset);
  if (name.empty())
    return std::nullopt;
  Converter converter(name);
  if (!converter.ok())
    return std::nullopt;
  return converter.Convert(bytes);
}

} // namespace platform
