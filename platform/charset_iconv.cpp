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

// The length of the well-formed UTF-8 sequence at `at` (RFC 3629: no overlong forms, no
// surrogates, nothing beyond U+10FFFF), or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80)
    return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
    return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
      return 0;
  return length;
}

// iconv lets some sequences through that UTF-8 does not allow (lead bytes beyond U+10FFFF);
// they become U+FFFD like every other byte the character set does not allow.
std::string WellFormedUtf8(std::string text) {
  std::size_t i = 0;
  for (std::size_t length; i < text.size() && (length = Utf8SequenceLength(text, i)) != 0;)
    i += length;
  if (i == text.size())
    return text;
  std::string out(text, 0, i);
  while (i < text.size()) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(text, i, length);
      i += length;
    }
  }
  return out;
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
  return WellFormedUtf8(converter.Convert(bytes));
}

} // namespace platform
