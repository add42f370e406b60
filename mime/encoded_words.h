// Encoded words in header values (RFC 2047) as a reader shows them: each word's text decoded
// and kept with the character set it names, for conversion to the reader's characters.
//
// DecodeHeaderWords (header_words.h) serves the result list and keeps the bytes of every
// character set alike; this reading follows RFC 2047 more closely: blanks between two
// encoded words go, "=3d" is as good as "=3D", and a word that is not well formed stays text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mime {

struct CharsetText {
  std::string charset; // as the word names it; empty for text outside encoded words
  std::string bytes;
  bool operator==(const CharsetText&) const = default;
};

// The value as pieces of text, each in one character set. Neighbouring pieces of the same
// character set are joined, so a character whose bytes two words share comes out whole.
std::vector<CharsetText> SplitEncodedWords(std::string_view value);

} // namespace mime
