// Reading a VS_VERSIONINFO block, the way VerQueryValue answers its lookups. Every read is
// checked against the block, so any byte sequence is safe to hand in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace about {

using Bytes = std::span<const std::uint8_t>;

// The numbers of VS_FIXEDFILEINFO that the version reader uses.
struct FixedFileInfo {
  std::uint32_t file_version_ms = 0;
  std::uint32_t file_version_ls = 0;
  std::uint32_t product_version_ms = 0;
  std::uint32_t product_version_ls = 0;
  std::uint32_t file_os = 0;
  std::uint32_t file_type = 0;
};

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::size_t kFixedFileInfoSize = 52;

// The fixed part ("\"): nullopt when the block has no well-formed root entry, or its value
// is shorter than VS_FIXEDFILEINFO or lacks the signature.
std::optional<FixedFileInfo> QueryFixedFileInfo(Bytes block);

// A text value by its path below the root, such as "\StringFileInfo\040904E4\CompanyName";
// keys compare without regard to ASCII case. The text is UTF-8; nullopt when any step of
// the path is missing or malformed.
std::optional<std::string> QueryStringValue(Bytes block, std::string_view path);

// UTF-16 (little-endian bytes, stopping at a zero unit) to UTF-8; unpaired surrogates
// become U+FFFD.
std::string Utf16LeToUtf8(Bytes bytes);

} // namespace about
