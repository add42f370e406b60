// Decoding the content of a message part for a reader: the body of a text or of an
// attachment as it was before its transfer encoding.
//
// These decoders read what damaged or careless mail holds as well as they can and never
// fail. (The parser's own codecs in base64.h, quoted_printable.h and uuencode.h keep the
// exact behaviour the scan depends on.)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mime {

// Base64: characters outside the alphabet (line breaks, blanks, damage) are skipped; "="
// ends a group, and decoding goes on after it; an incomplete last group gives what it holds.
std::string DecodeBase64Content(std::string_view text);

// Quoted-printable: "=XX" in either letter case gives its byte; "=" at a line's end (blanks
// after it allowed) joins the lines; any other "=" stays as it is.
std::string DecodeQuotedPrintableContent(std::string_view text);

// Uuencode: the lines between "begin" and "end" (all lines when there is no "begin"); lines
// that do not decode are left out.
std::string DecodeUuencodedContent(std::string_view text);

struct UuencodedFile {
  std::string name; // as the begin line gives it
  std::string content;
};

// Takes the files uuencoded into a text ("begin 644 name" ... "end" lines, as mail programs
// wrote them into plain text) out of it, decoded. A block without its "end" line runs to the
// end of the text.
std::vector<UuencodedFile> TakeUuencodedFiles(std::string& text);

// The content by its Content-Transfer-Encoding (any letter case; "x-uuencode", "x-uue" and
// "uuencode" for uuencode); 7bit, 8bit, binary and anything unknown as it stands.
std::string DecodeContent(std::string_view body, std::string_view transfer_encoding);

} // namespace mime
