#include "mime/header_words.h"

#include "mime/base64.h"
#include "mime/quoted_printable.h"
#include "mime/uuencode.h"
#include "text/ascii.h"
#include "text/trim.h"

namespace mime {
namespace {

constexpr auto npos = std::string::npos;

std::string UpToFirstZero(std::string bytes) {
  const std::size_t zero = bytes.find('\0');
  if (zero != npos)
    bytes.resize(zero);
  return bytes;
}

std::string DecodeWordText(char letter, std::string_view text) {
  if (text.empty())
    return {};
  switch (letter) {
  case 'B':
    return UpToFirstZero(DecodeBase64(text));
  case 'U':
    return UpToFirstZero(UUDecodeLine(text));
  default: {
    std::string q(text);
    for (char& c : q)
      if (c == '_')
        c = ' ';
    return DecodeQuotedPrintable(q);
  }
  }
}

char EncodingLetter(std::string_view word) {
  if (word.size() >= 2 && word[1] == '?') {
    const char letter = text::ToUpperAscii(word[0]);
    if (letter == 'B' || letter == 'Q' || letter == 'U')
      return letter;
  }
  return 'Q';
}

} // namespace

std::string DecodeHeaderWords(std::string_view value) {
  std::string s(text::TrimSpaces(value));
  // Every replacement shortens s, so this loop ends.
  for (;;) {
    const std::size_t start = s.find("=?");
    if (start == npos)
      break;
    std::size_t charset_end = s.find('?', start + 2);
    if (charset_end == npos)
      charset_end = start + 1;
    std::size_t end = s.find("?=", charset_end + 1);
    if (end == npos)
      break;
    // Encoded text may itself begin with "=", as in "=?x?Q?=41?=": prefer a later "?=".
    const std::size_t further = s.find('?', end + 1);
    if (further != npos && further + 1 < s.size() && s[further + 1] == '=')
      end = further;

    const std::string_view word =
        std::string_view(s).substr(charset_end + 1, end - charset_end - 1);
    const std::string_view text = word.size() > 2 ? word.substr(2) : std::string_view{};
    const std::string decoded = DecodeWordText(EncodingLetter(word), text);
    s.replace(start, end + 2 - start, decoded);
  }
  return s;
}

} // namespace mime
