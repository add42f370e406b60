// The body and header decoders on arbitrary text, and the encoders' round trips.
#include "mime/base64.h"
#include "mime/header_words.h"
#include "mime/mime_error.h"
#include "mime/quoted_printable.h"
#include "mime/uuencode.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)mime::DecodeBase64(text);
  (void)mime::DecodeQuotedPrintable(text);
  try {
    (void)mime::UUDecodeToStream(text);
  } catch (const mime::MimeError&) {
  }
  try {
    (void)mime::DecodeHeaderWords(text);
  } catch (const mime::MimeError&) {
  }
  // Line breaks take slots of the lenient base64 decoder, so the lines are joined first.
  std::string encoded = mime::EncodeBase64Stream(text);
  std::erase(encoded, '\r');
  std::erase(encoded, '\n');
  if (mime::DecodeBase64(encoded) != text)
    __builtin_trap();
  // Quoted-printable keeps line breaks as they are, so only CR LF free text round-trips
  // exactly through the soft breaks.
  if (text.find_first_of("\r\n") == std::string_view::npos &&
      mime::DecodeQuotedPrintable(mime::EncodeQuotedPrintable(text)) != text)
    __builtin_trap();
  return 0;
}
