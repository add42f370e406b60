#include "mime/base64.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace mime {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kPad = 64;
constexpr int kNotInAlphabet = -1;
constexpr std::size_t kBytesPerLine = 57;

constexpr std::array<std::int8_t, 256> MakeDecodeTable() {
  std::array<std::int8_t, 256> table{};
  for (auto& v : table)
    v = kNotInAlphabet;
  for (int i = 0; i < 64; ++i)
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  table[static_cast<unsigned char>('=')] = kPad;
  return table;
}

constexpr auto kDecodeTable = MakeDecodeTable();

void AppendGroup(std::string& out, const unsigned char* bytes, std::size_t count) {
  const unsigned b0 = bytes[0];
  const unsigned b1 = count > 1 ? bytes[1] : 0;
  const unsigned b2 = count > 2 ? bytes[2] : 0;
  out += kAlphabet[b0 >> 2];
  out += kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
  out += count > 1 ? kAlphabet[((b1 & 15) << 2) | (b2 >> 6)] : '=';
  out += count > 2 ? kAlphabet[b2 & 63] : '=';
}

} // namespace

std::string DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  std::array<int, 4> slot{0, 0, 0, 0};
  std::size_t filled = 0;
  for (char ch : text) {
    const int value = kDecodeTable[static_cast<unsigned char>(ch)];
    if (value != kNotInAlphabet)
      slot[filled] = value;
    if (++filled < 4)
      continue;
    filled = 0;
    int count = 3;
    if (slot[0] == kPad)
      count = 0;
    if (slot[2] == kPad) {
      slot[2] = 0;
      slot[3] = 0;
      count = 1;
    } else if (slot[3] == kPad) {
      slot[3] = 0;
      count = 2;
    }
    const char bytes[3] = {
        static_cast<char>((slot[0] * 4 + slot[1] / 16) & 0xFF),
        static_cast<char>(((slot[1] % 16) * 16 + slot[2] / 4) & 0xFF),
        static_cast<char>(((slot[2] % 4) * 64 + slot[3]) & 0xFF),
    };
    out.append(bytes, static_cast<std::size_t>(count));
  }
  return out;
}

std::string EncodeBase64Stream(std::string_view source) {
  std::string out;
  const std::size_t lines = (source.size() + kBytesPerLine - 1) / kBytesPerLine;
  out.reserve((source.size() + 2) / 3 * 4 + lines * 2);
  const auto* bytes = reinterpret_cast<const unsigned char*>(source.data());
  for (std::size_t line = 0; line < source.size(); line += kBytesPerLine) {
    const std::size_t line_end = std::min(source.size(), line + kBytesPerLine);
    for (std::size_t i = line; i < line_end; i += 3)
      AppendGroup(out, bytes + i, std::min<std::size_t>(3, line_end - i));
    out += "\r\n";
  }
  return out;
}

} // namespace mime
