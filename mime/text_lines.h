// One forward scan over a text's lines. Lines end at CR LF pairs only; a lone CR or LF stays
// inside its line, and a CR LF at the very end is not followed by an empty line.
#pragma once

#include <cstddef>
#include <string_view>

namespace mime {

struct TextLine {
  std::string_view text; // without its CR LF
  std::size_t start = 0; // offset of the first character in the whole text
  std::size_t end = 0;   // offset just after the last character, before the CR LF
};

class LineReader {
public:
  explicit LineReader(std::string_view text) : text_(text) {}

  // Offset of the next line to be taken; the text's size once everything is taken.
  std::size_t Position() const { return position_; }

  bool Next(TextLine& line) {
    if (position_ >= text_.size())
      return false;
    const std::size_t line_break = text_.find("\r\n", position_);
    const std::size_t end = line_break == std::string_view::npos ? text_.size() : line_break;
    line.text = text_.substr(position_, end - position_);
    line.start = position_;
    line.end = end;
    position_ = line_break == std::string_view::npos ? text_.size() : line_break + 2;
    return true;
  }

private:
  std::string_view text_;
  std::size_t position_ = 0;
};

} // namespace mime
