#include "mime/encoded_words.h"

#include "mime/content_decoding.h"
#include "text/ascii.h"

#include <optional>

namespace mime {
namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::string_view kBlanks = " \t\r\n";

// Finds the next occurrence at or after positions that never decrease, remembering the last
// answer, so that a value of any length is searched once (hostile values hold thousands of
// "=?" that never end).
class ForwardFinder {
public:
  ForwardFinder(std::string_view text, std::string_view needle, bool any_of)
      : text_(text), needle_(needle), any_of_(any_of), found_(Search(0)) {}

  std::size_t Find(std::size_t from) {
    if (found_ != npos && found_ < from)
      found_ = Search(from);
    return found_;
  }

private:
  std::size_t Search(std::size_t from) const {
    return any_of_ ? text_.find_first_of(needle_, from) : text_.find(needle_, from);
  }

  std::string_view text_;
  std::string_view needle_;
  bool any_of_;
  std::size_t found_;
};

struct Word {
  std::size_t end; // just after "?="
  CharsetText text;
};

class WordReader {
public:
  explicit WordReader(std::string_view value)
      : value_(value), questions_(value, "?", false), ends_(value, "?=", false),
        blanks_(value, kBlanks, true) {}

  // The encoded word "=?charset?X?text?=" at `at`, X being B or Q in either case, with no
  // blank inside; nothing when there is none.
  std::optional<Word> At(std::size_t at) {
    const std::size_t charset_end = questions_.Find(at + 2);
    if (charset_end == npos || charset_end == at + 2 || charset_end + 2 >= value_.size() ||
        value_[charset_end + 2] != '?')
      return std::nullopt;
    const char letter = text::ToUpperAscii(value_[charset_end + 1]);
    const std::size_t text_start = charset_end + 3;
    const std::size_t end = ends_.Find(text_start);
    if ((letter != 'B' && letter != 'Q') || end == npos || blanks_.Find(at) < end)
      return std::nullopt;
    std::string text(value_.substr(text_start, end - text_start));
    if (letter == 'Q') {
      for (char& c : text)
        if (c == '_')
          c = ' ';
    }
    return Word{end + 2,
                {std::string(value_.substr(at + 2, charset_end - at - 2)),
                 letter == 'B' ? DecodeBase64Content(text) : DecodeQuotedPrintableContent(text)}};
  }

private:
  std::string_view value_;
  ForwardFinder questions_, ends_, blanks_;
};

void Append(std::vector<CharsetText>& pieces, std::string_view charset, std::string_view bytes) {
  if (bytes.empty())
    return;
  if (!pieces.empty() && text::EqualsIgnoringAsciiCase(pieces.back().charset, charset))
    pieces.back().bytes += bytes;
  else
    pieces.push_back({std::string(charset), std::string(bytes)});
}

} // namespace

std::vector<CharsetText> SplitEncodedWords(std::string_view value) {
  std::vector<CharsetText> pieces;
  WordReader words(value);
  std::size_t text_start = 0;
  bool after_word = false;
  for (std::size_t at = value.find("=?"); at != npos; at = value.find("=?", at + 1)) {
    std::optional<Word> word = words.At(at);
    if (!word)
      continue;
    const std::string_view between = value.substr(text_start, at - text_start);
    // Blank space between two encoded words only separates them.
    if (!after_word || between.find_first_not_of(kBlanks) != npos)
      Append(pieces, "", between);
    Append(pieces, word->text.charset, word->text.bytes);
    text_start = word->end;
    after_word = true;
    at = word->end - 1;
  }
  Append(pieces, "", value.substr(text_start));
  return pieces;
}

} // namespace mime
