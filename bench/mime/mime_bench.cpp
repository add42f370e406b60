// Parses a few thousand generated messages the way the scan does (ParseText, RebuildBody and
// the four answers) and reports the throughput in MB/s, best of several runs.
#include "mime/base64.h"
#include "mime/mail_message.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::string RandomBytes(std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string UUEncode(const std::string& bytes) {
  std::string out;
  for (std::size_t line = 0; line < bytes.size(); line += 45) {
    const std::size_t n = std::min<std::size_t>(45, bytes.size() - line);
    out += static_cast<char>(32 + n);
    for (std::size_t i = line; i < line + n; i += 3) {
      unsigned v = 0;
      for (std::size_t k = 0; k < 3; ++k)
        v = v << 8 | (i + k < line + n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
      for (int shift = 18; shift >= 0; shift -= 6) {
        const unsigned six = (v >> shift) & 63;
        out += six == 0 ? '`' : static_cast<char>(32 + six);
      }
    }
    out += "\r\n";
  }
  return out + "`\r\nend\r\n";
}

std::string CommonHeader(std::mt19937& random, int index) {
  std::string h;
  for (int hop = 0; hop < 4; ++hop)
    h += "Received: from relay" + std::to_string(hop) + ".example.net (relay" +
         std::to_string(hop) + ".example.net [192.0.2." + std::to_string(hop) +
         "])\r\n\tby mx.example.org (Postfix) with ESMTP id " + std::to_string(random()) +
         "\r\n\tfor <user@example.org>; Mon, 5 Jan 2004 10:20:30 +0100\r\n";
  h += "From: \"Sender " + std::to_string(index) + "\" <sender" + std::to_string(index) +
       "@example.com>\r\n";
  h += "To: \"Doe, Jane\" <jane@example.org>,\r\n bob@example.com, Carol <carol@example.net>,\r\n"
       "\t=?iso-8859-1?Q?J=F6rg?= <joerg@example.de>\r\n";
  h += "Subject: =?iso-8859-1?Q?Re:_Protokoll_der_Sitzung_vom_M=E4rz?= =?utf-8?B?" +
       std::string("w6TDtsO8IGFuZCBtb3Jl") + "?= #" + std::to_string(index) + "\r\n";
  h += "Date: Mon, 5 Jan 2004 10:20:30 +0100\r\nMIME-Version: 1.0\r\n";
  h += "Message-ID: <" + std::to_string(random()) + "@example.com>\r\n";
  return h;
}

std::string Paragraphs(std::mt19937& random, int count) {
  static const char* const kWords[] = {"the",    "minutes", "agenda", "meeting", "attached",
                                       "please", "review",  "budget", "draft",   "report"};
  std::string text;
  for (int p = 0; p < count; ++p) {
    for (int line = 0; line < 6; ++line) {
      std::string l;
      while (l.size() < 68)
        l += std::string(kWords[random() % 10]) + " ";
      text += l + "\r\n";
    }
    text += "\r\n";
  }
  return text;
}

std::string MultipartMessage(std::mt19937& random, int index) {
  const std::string b = "----=_NextPart_000_" + std::to_string(index);
  std::string m = CommonHeader(random, index);
  m += "Content-Type: multipart/mixed;\r\n\tboundary=\"" + b + "\"\r\n\r\n";
  m += "This is a multi-part message in MIME format.\r\n\r\n--" + b + "\r\n";
  m += "Content-Type: multipart/alternative;\r\n\tboundary=\"alt" + b + "\"\r\n\r\n";
  m += "--alt" + b +
       "\r\nContent-Type: text/plain;\r\n\tcharset=\"iso-8859-1\"\r\n"
       "Content-Transfer-Encoding: quoted-printable\r\n\r\n" +
       Paragraphs(random, 3);
  m += "--alt" + b + "\r\nContent-Type: text/html;\r\n\tcharset=\"iso-8859-1\"\r\n\r\n<html>" +
       Paragraphs(random, 3) + "</html>\r\n--alt" + b + "--\r\n\r\n";
  for (int a = 0; a < 2; ++a) {
    m += "--" + b + "\r\nContent-Type: application/octet-stream;\r\n\tname=\"file" +
         std::to_string(a) +
         ".bin\"\r\nContent-Transfer-Encoding: base64\r\n"
         "Content-Disposition: attachment;\r\n\tfilename=\"file" +
         std::to_string(a) + ".bin\"\r\n\r\n" +
         mime::EncodeBase64Stream(RandomBytes(random, 4000 + random() % 20000));
  }
  return m + "--" + b + "--\r\n";
}

std::string UuencodedMessage(std::mt19937& random, int index) {
  std::string m = CommonHeader(random, index) + "\r\n" + Paragraphs(random, 2);
  m += "begin 644 photo" + std::to_string(index) + ".gif\r\n" +
       UUEncode(RandomBytes(random, 3000 + random() % 15000));
  return m + "\r\nRegards\r\n";
}

} // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
  std::mt19937 random(20040105);
  std::vector<std::string> messages;
  std::size_t bytes = 0;
  for (int i = 0; i < count; ++i) {
    messages.push_back(i % 4 == 3 ? UuencodedMessage(random, i) : MultipartMessage(random, i));
    bytes += messages.back().size();
  }

  mime::TMailMessage2000 message;
  std::size_t answers = 0; // keeps the work observable
  double best = 1e30;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& text : messages) {
      message.ParseText(text);
      message.RebuildBody();
      answers += message.FromText().size() + message.ToList.RecipientsText().size() +
                 message.SubjectText().size() + (message.DateValue() > 0 ? 1 : 0);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count());
  }
  std::printf("%d messages, %.1f MB, best of 5: %.3f s, %.1f MB/s, %.0f messages/s (%zu)\n", count,
              bytes / 1e6, best, bytes / 1e6 / best, count / best, answers);
  return 0;
}
