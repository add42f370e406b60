// A minimal Windows program file (PE32 or PE32+) whose only section holds a resource tree
// with one RT_VERSION resource, laid out as the PE format documentation describes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testpe {

inline void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value, int width) {
  if (out.size() < at + width)
    out.resize(at + width);
  for (int i = 0; i < width; ++i)
    out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

struct PeLayout {
  bool wide = false;                // PE32+
  std::uint16_t resource_type = 16; // RT_VERSION
  std::uint32_t section_rva = 0x1000;
  std::uint32_t section_offset = 0x200;
};

// `version_block` becomes the data of resource 16/1/0x409.
inline std::vector<std::uint8_t> BuildPe(const std::vector<std::uint8_t>& version_block,
                                         const PeLayout& layout = {}) {
  std::vector<std::uint8_t> file(layout.section_offset, 0);
  file[0] = 'M';
  file[1] = 'Z';
  const std::size_t pe = 0x40;
  Put(file, 0x3C, pe, 4);
  Put(file, pe, 0x00004550, 4);
  const std::size_t coff = pe + 4;
  Put(file, coff, layout.wide ? 0x8664 : 0x14C, 2); // machine
  Put(file, coff + 2, 1, 2);                        // one section
  const std::uint16_t optional_size = layout.wide ? 240 : 224;
  Put(file, coff + 16, optional_size, 2);
  const std::size_t optional = coff + 20;
  Put(file, optional, layout.wide ? 0x20B : 0x10B, 2);
  const std::size_t count_at = optional + (layout.wide ? 108 : 92);
  const std::size_t directories = optional + (layout.wide ? 112 : 96);
  Put(file, count_at, 16, 4);

  // The resource tree: type, name, language, data entry, then the data.
  std::vector<std::uint8_t> rsrc;
  Put(rsrc, 14, 1, 2); // root: one id entry
  Put(rsrc, 16, layout.resource_type, 4);
  Put(rsrc, 20, 0x80000000u | 24, 4);
  Put(rsrc, 24 + 14, 1, 2); // names: one id entry
  Put(rsrc, 40, 1, 4);
  Put(rsrc, 44, 0x80000000u | 48, 4);
  Put(rsrc, 48 + 14, 1, 2); // languages: one id entry
  Put(rsrc, 64, 0x409, 4);
  Put(rsrc, 68, 72, 4);
  Put(rsrc, 72, layout.section_rva + 88, 4); // data entry: address and size
  Put(rsrc, 76, version_block.size(), 4);
  rsrc.resize(88);
  rsrc.insert(rsrc.end(), version_block.begin(), version_block.end());
  while (rsrc.size() % 0x200 != 0)
    rsrc.push_back(0);

  Put(file, directories + 2 * 8, layout.section_rva, 4);
  Put(file, directories + 2 * 8 + 4, rsrc.size(), 4);
  const std::size_t section = optional + optional_size;
  const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  for (int i = 0; i < 8; ++i)
    file[section + i] = static_cast<std::uint8_t>(name[i]);
  Put(file, section + 8, rsrc.size(), 4);
  Put(file, section + 12, layout.section_rva, 4);
  Put(file, section + 16, rsrc.size(), 4);
  Put(file, section + 20, layout.section_offset, 4);
  file.resize(layout.section_offset);
  file.insert(file.end(), rsrc.begin(), rsrc.end());
  return file;
}

} // namespace testpe
