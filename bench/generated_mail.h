// Realistic generated messages for the benchmarks: seven in ten plain letters, the rest with
// a base64 attachment, sizes drawn from three bands.
#pragma once

#include <cstddef>
#include <random>
#include <string>

namespace bench {

struct SizeBands {
  std::size_t letter_min, letter_span;         // 70 %
  std::size_t attachment_min, attachment_span; // 25 %
  std::size_t large_min, large_span;           // 5 %
};

inline std::string GeneratedMessage(std::mt19937& random, int i, const SizeBands& bands) {
  int kind = static_cast<int>(random() % 100);
  std::size_t size = kind < 70   ? bands.letter_min + random() % bands.letter_span
                     : kind < 95 ? bands.attachment_min + random() % bands.attachment_span
                                 : bands.large_min + random() % bands.large_span;
  std::string who = std::to_string(i % 997);
  std::string text = "Return-Path: <sender" + who + "@example.com>\r\nFrom: \"Sender " + who +
                     "\" <sender" + who + "@example.com>\r\nTo: someone@example.org, other" +
                     std::to_string(i % 13) + "@example.net\r\nSubject: generated message " +
                     std::to_string(i) +
                     "\r\nDate: Mon, 3 Mar 2003 10:20:30 +0100\r\nMIME-Version: 1.0\r\n";
  if (kind >= 70) {
    text += "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n--b1\r\n"
            "Content-Type: text/plain\r\n\r\nSee the attachment.\r\n--b1\r\n"
            "Content-Type: application/octet-stream; name=\"data.bin\"\r\n"
            "Content-Transfer-Encoding: base64\r\n"
            "Content-Disposition: attachment; filename=\"data.bin\"\r\n\r\n";
    while (text.size() < size)
      text += "QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5ejAxMjM0\r\n";
    text += "--b1--\r\n";
  } else {
    text += "Content-Type: text/plain\r\n\r\n";
    while (text.size() < size)
      text += "A line of a generated letter, long enough to look like prose here.\r\n";
  }
  return text;
}

} // namespace bench
