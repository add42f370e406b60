// Finding the version resource inside a program file: the RT_VERSION resource of a Windows
// (PE) file, or the "salvora_version" section that the build links into an ELF executable.
// The file is read at checked positions only, so a damaged or hostile file finds nothing.
#pragma once

#include "platform/random_access_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace about {

// The section name the build gives the embedded block.
inline constexpr char kVersionSectionName[] = "salvora_version";

// The raw VS_VERSIONINFO block; nullopt when the file has none.
std::optional<std::vector<std::uint8_t>> FindVersionBlock(platform::RandomAccessFile& file);

// The same for a file by name; nullopt also when it cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadVersionBlock(const std::string& path);

} // namespace about
