#include "mime/content_decoding.h"

#include "mime/mime_error.h"
#include "mime/uuencode.h"
#include "text/ascii.h"
#include "text/trim.h"

#include <array>
#include <cstdint>
#include <optional>

namespace mime {
namespace {

constexpr std::array<std::int8_t, 256> MakeBase64Values() {
  std::array<std::int8_t, 256> values{};
  for (auto& v : values)
    v = -1;
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < kAlphabet.size(); ++i)
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  return values;
}

constexpr auto kBase64Values = MakeBase64Values();

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  const char upper = text::ToUpperAscii(c);
  return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

} // namespace

std::string DecodeBase64Content(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 2);
  std::uint32_t bits = 0;
  int count = 0;
  auto flush = [&] {
    // Two characters hold one byte, three hold two.
    if (count >= 2)
      out += static_cast<char>(count == 2 ? bits >> 4 : bits >> 10);
    if (count == 3)
      out += static_cast<char>(bits >> 2);
    bits = 0;
    count = 0;
  };
  for (char c : text) {
    if (c == '=') {
      flush();
      continue;
    }
    const int value = kBase64Values[static_cast<unsigned char>(c)];
    if (value < 0)
      continue;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      out += static_cast<char>(bits >> 16);
      out += static_cast<char>(bits >> 8);
      out += static_cast<char>(bits);
      bits = 0;
      count = 0;
    }
  }
  flush();
  return out;
}

std::string DecodeQuotedPrintableContent(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '=') {
      out += text[i];
      continue;
    }
    std::size_t after = i + 1;
    while (after < text.size() && (text[after] == ' ' || text[after] == '\t'))
      ++after;
    if (after == text.size() || text[after] == '\n' || text[after] == '\r') {
      // A soft line break: the "=", blanks after it and the line break go.
      if (after + 1 < text.size() && text[after] == '\r' && text[after + 1] == '\n')
        ++after;
      i = after;
      continue;
    }
    if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
      continue;
    }
    out += '=';
  }
  return out;
}

std::string DecodeUuencodedContent(std::string_view text) {
  const bool has_begin = text.starts_with("begin ") || text.find("\nbegin ") != text.npos;
  bool in_block = !has_begin;
  std::string out;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == text.npos)
      end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (!in_block) {
      in_block = line.starts_with("begin ");
      continue;
    }
    if (line.starts_with("end") && text::TrimSpaces(line) == "end")
      break;
    try {
      out += UUDecodeLine(line);
    } catch (const MimeError&) {
      // a damaged line: the others still give what they hold
    }
  }
  return out;
}

namespace {

// "begin", a blank, the file mode in octal, a blank and a name: the name, or nothing.
std::optional<std::string_view> BeginLineName(std::string_view line) {
  if (!line.starts_with("begin "))
    return std::nullopt;
  line.remove_prefix(6);
  std::size_t digits = 0;
  while (digits < line.size() && line[digits] >= '0' && line[digits] <= '7')
    ++digits;
  if (digits == 0 || digits > 4 || digits >= line.size() || line[digits] != ' ')
    return std::nullopt;
  const std::string_view name = text::TrimSpaces(line.substr(digits + 1));
  if (name.empty())
    return std::nullopt;
  return name;
}

} // namespace

std::vector<UuencodedFile> TakeUuencodedFiles(std::string& text) {
  std::vector<UuencodedFile> files;
  std::string rest;
  std::size_t block_start = std::string::npos;
  std::string_view name;
  auto end_block = [&](std::size_t end) {
    const std::string_view block = std::string_view(text).substr(block_start, end - block_start);
    files.push_back({std::string(name), DecodeUuencodedContent(block)});
    block_start = std::string::npos;
  };
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string_view line = std::string_view(text).substr(start, end - start);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
      line.remove_suffix(1);
    if (block_start == std::string::npos) {
      if (const auto begin_name = BeginLineName(line)) {
        block_start = start;
        name = *begin_name;
      } else {
        rest.append(text, start, end - start);
      }
    } else if (text::TrimSpaces(line) == "end") {
      end_block(end);
    }
    start = end;
  }
  if (block_start != std::string::npos)
    end_block(text.size());
  if (!files.empty())
    text = std::move(rest);
  return files;
}

std::string DecodeContent(std::string_view body, std::string_view transfer_encoding) {
  const std::string encoding = text::LowerAscii(text::TrimSpaces(transfer_encoding));
  if (encoding == "base64")
    return DecodeBase64Content(body);
  if (encoding == "quoted-printable")
    return DecodeQuotedPrintableContent(body);
  if (encoding == "x-uuencode" || encoding == "x-uue" || encoding == "uuencode")
    return DecodeUuencodedContent(body);
  return std::string(body);
}

} // namespace mime
