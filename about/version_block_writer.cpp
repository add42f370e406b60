#include "about/version_block_writer.h"

#include "about/version_resource.h"

#include <stdexcept>
#include <string_view>

namespace about {
namespace {

using Buffer = std::vector<std::uint8_t>;

void PutWord(Buffer& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutDword(Buffer& out, std::uint32_t value) {
  PutWord(out, value & 0xFFFF);
  PutWord(out, value >> 16);
}

void PadTo4(Buffer& out) {
  while (out.size() % 4 != 0)
    out.push_back(0);
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    char32_t c = extra == 0   ? lead
                 : extra == 1 ? lead & 0x1F
                 : extra == 2 ? lead & 0x0F
                              : lead & 0x07;
    if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    for (int k = 1; k <= extra; ++k)
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

// Writes one entry whose value and children the callback appends; fills in wLength.
template <typename WriteBody>
void PutNode(Buffer& out, std::string_view key, std::uint16_t value_length, std::uint16_t type,
             WriteBody write_body) {
  PadTo4(out);
  const std::size_t start = out.size();
  PutWord(out, 0); // wLength, filled in below
  PutWord(out, value_length);
  PutWord(out, type);
  for (const char c : key)
    PutWord(out, static_cast<unsigned char>(c));
  PutWord(out, 0);
  PadTo4(out);
  write_body(out);
  const std::size_t length = out.size() - start;
  if (length > 0xFFFF)
    throw std::length_error("version block entry longer than 65535 bytes");
  out[start] = static_cast<std::uint8_t>(length & 0xFF);
  out[start + 1] = static_cast<std::uint8_t>((length >> 8) & 0xFF);
}

std::uint32_t High(const std::array<std::uint16_t, 4>& v) {
  return (std::uint32_t{v[0]} << 16) | v[1];
}
std::uint32_t Low(const std::array<std::uint16_t, 4>& v) {
  return (std::uint32_t{v[2]} << 16) | v[3];
}

void PutFixedFileInfo(Buffer& out, const VersionBlockFields& f) {
  PutDword(out, kFixedFileInfoSignature);
  PutDword(out, 0x00010000); // structure version 1.0
  PutDword(out, High(f.file_version));
  PutDword(out, Low(f.file_version));
  PutDword(out, High(f.product_version));
  PutDword(out, Low(f.product_version));
  PutDword(out, 0x3F); // VS_FFI_FILEFLAGSMASK
  PutDword(out, 0);    // no flags
  PutDword(out, f.file_os);
  PutDword(out, f.file_type);
  PutDword(out, 0); // subtype
  PutDword(out, 0); // date, high
  PutDword(out, 0); // date, low
}

void PutString(Buffer& out, const std::string& key, const std::string& value) {
  const std::u16string text = Utf8ToUtf16(value);
  PutNode(out, key, static_cast<std::uint16_t>(text.size() + 1), 1, [&](Buffer& o) {
    for (const char16_t c : text)
      PutWord(o, c);
    PutWord(o, 0);
  });
}

} // namespace

std::vector<std::uint8_t> BuildVersionBlock(const VersionBlockFields& f) {
  Buffer out;
  const std::uint16_t fixed_size = f.with_fixed_info ? kFixedFileInfoSize : 0;
  PutNode(out, "VS_VERSION_INFO", fixed_size, 0, [&](Buffer& root) {
    if (f.with_fixed_info)
      PutFixedFileInfo(root, f);
    PutNode(root, "StringFileInfo", 0, 1, [&](Buffer& info) {
      PutNode(info, f.string_table, 0, 1, [&](Buffer& table) {
        for (const auto& [key, value] : f.strings)
          PutString(table, key, value);
      });
    });
    PutNode(root, "VarFileInfo", 0, 1, [&](Buffer& vars) {
      PutNode(vars, "Translation", 4, 0, [&](Buffer& translation) {
        PutWord(translation, f.language);
        PutWord(translation, f.code_page);
      });
    });
  });
  return out;
}

} // namespace about
