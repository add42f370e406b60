// Writes VS_VERSIONINFO blocks: the program's own at build time, and any block a test needs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace about {

struct VersionBlockFields {
  std::array<std::uint16_t, 4> file_version{};
  std::array<std::uint16_t, 4> product_version{};
  std::uint32_t file_os = 0;   // VOS_*
  std::uint32_t file_type = 1; // VFT_APP
  bool with_fixed_info = true;
  std::string string_table = "040904E4";
  // Key and UTF-8 value, written in this order.
  std::vector<std::pair<std::string, std::string>> strings;
  // The language and code page of VarFileInfo\Translation.
  std::uint16_t language = 0x0409;
  std::uint16_t code_page = 1252;
};

// The block, with the fixed part, one StringFileInfo table and VarFileInfo.
std::vector<std::uint8_t> BuildVersionBlock(const VersionBlockFields& fields);

} // namespace about
