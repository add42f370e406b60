#include "about/version_locator.h"

#include <array>
#include <cstring>
#include <string_view>

namespace about {
namespace {

// A version block's length is a 16-bit count.
constexpr std::uint64_t kMaxBlockSize = 0xFFFF;
constexpr std::uint16_t kResourceTypeVersion = 16; // RT_VERSION
constexpr std::size_t kMaxSections = 4096;

// Checked little-endian reads; every failure reads as "absent".
class Reader {
public:
  explicit Reader(platform::RandomAccessFile& file) : file_(file), size_(file.Size()) {}

  bool Read(std::uint64_t offset, void* out, std::size_t count) {
    if (size_ < 0 || offset > static_cast<std::uint64_t>(size_) ||
        count > static_cast<std::uint64_t>(size_) - offset)
      return false;
    return file_.ReadAt(static_cast<std::int64_t>(offset), static_cast<char*>(out), count) == count;
  }
  std::optional<std::uint64_t> Uint(std::uint64_t offset, std::size_t width) {
    std::array<std::uint8_t, 8> bytes{};
    if (width > bytes.size() || !Read(offset, bytes.data(), width))
      return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;)
      value = (value << 8) | bytes[i];
    return value;
  }
  std::optional<std::vector<std::uint8_t>> Block(std::uint64_t offset, std::uint64_t count) {
    if (count == 0 || count > kMaxBlockSize)
      return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    if (!Read(offset, bytes.data(), bytes.size()))
      return std::nullopt;
    return bytes;
  }

private:
  platform::RandomAccessFile& file_;
  std::int64_t size_;
};

// ---- PE ----

struct PeSection {
  std::uint64_t virtual_address = 0;
  std::uint64_t virtual_size = 0;
  std::uint64_t raw_size = 0;
  std::uint64_t raw_offset = 0;
};

struct PeImage {
  std::vector<PeSection> sections;
  std::uint64_t resource_rva = 0;
  std::uint64_t resource_size = 0;
};

std::optional<PeImage> ReadPeImage(Reader& r) {
  const auto pe_offset = r.Uint(0x3C, 4);
  const auto signature = pe_offset ? r.Uint(*pe_offset, 4) : std::nullopt;
  if (!signature || *signature != 0x00004550) // "PE\0\0"
    return std::nullopt;
  const std::uint64_t coff = *pe_offset + 4;
  const auto section_count = r.Uint(coff + 2, 2);
  const auto optional_size = r.Uint(coff + 16, 2);
  const std::uint64_t optional = coff + 20;
  const auto magic = r.Uint(optional, 2);
  if (!section_count || !optional_size || !magic || *section_count > kMaxSections)
    return std::nullopt;
  std::uint64_t directories = 0;
  std::uint64_t directory_count_at = 0;
  if (*magic == 0x10B) { // PE32
    directory_count_at = optional + 92;
    directories = optional + 96;
  } else if (*magic == 0x20B) { // PE32+
    directory_count_at = optional + 108;
    directories = optional + 112;
  } else {
    return std::nullopt;
  }
  const auto directory_count = r.Uint(directory_count_at, 4);
  constexpr std::uint64_t kResourceDirectory = 2;
  if (!directory_count || *directory_count <= kResourceDirectory ||
      directories + (kResourceDirectory + 1) * 8 > optional + *optional_size)
    return std::nullopt;
  PeImage image;
  const auto rva = r.Uint(directories + kResourceDirectory * 8, 4);
  const auto size = r.Uint(directories + kResourceDirectory * 8 + 4, 4);
  if (!rva || !size || *rva == 0)
    return std::nullopt;
  image.resource_rva = *rva;
  image.resource_size = *size;
  const std::uint64_t table = optional + *optional_size;
  for (std::uint64_t i = 0; i < *section_count; ++i) {
    const std::uint64_t at = table + i * 40;
    const auto vsize = r.Uint(at + 8, 4), vaddr = r.Uint(at + 12, 4);
    const auto rsize = r.Uint(at + 16, 4), roffset = r.Uint(at + 20, 4);
    if (!vsize || !vaddr || !rsize || !roffset)
      return std::nullopt;
    image.sections.push_back({*vaddr, *vsize, *rsize, *roffset});
  }
  return image;
}

// The file offset of `count` bytes at an address of the loaded image.
std::optional<std::uint64_t> RvaToOffset(const PeImage& image, std::uint64_t rva,
                                         std::uint64_t count) {
  for (const PeSection& s : image.sections) {
    if (rva >= s.virtual_address && rva - s.virtual_address < s.raw_size &&
        count <= s.raw_size - (rva - s.virtual_address))
      return s.raw_offset + (rva - s.virtual_address);
  }
  return std::nullopt;
}

// One level of the resource tree: the entry with `id`, or the first entry when `id` is 0.
// Returns the entry's OffsetToData field.
std::optional<std::uint32_t> FindResourceEntry(Reader& r, std::uint64_t base,
                                               std::uint64_t base_size, std::uint64_t directory,
                                               std::uint16_t id) {
  if (directory > base_size || base_size - directory < 16)
    return std::nullopt;
  const auto named = r.Uint(base + directory + 12, 2);
  const auto ids = r.Uint(base + directory + 14, 2);
  if (!named || !ids)
    return std::nullopt;
  const std::uint64_t count = *named + *ids;
  std::optional<std::uint32_t> first;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t entry = directory + 16 + i * 8;
    if (entry > base_size || base_size - entry < 8)
      return std::nullopt;
    const auto name = r.Uint(base + entry, 4);
    const auto data = r.Uint(base + entry + 4, 4);
    if (!name || !data)
      return std::nullopt;
    if (!first)
      first = static_cast<std::uint32_t>(*data);
    if (id != 0 && (*name & 0x80000000u) == 0 && *name == id)
      return static_cast<std::uint32_t>(*data);
  }
  return id == 0 ? first : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> FindPeVersionBlock(Reader& r) {
  const std::optional<PeImage> image = ReadPeImage(r);
  if (!image)
    return std::nullopt;
  const auto base = RvaToOffset(*image, image->resource_rva, image->resource_size);
  if (!base)
    return std::nullopt;
  constexpr std::uint32_t kSubdirectory = 0x80000000u;
  // Type RT_VERSION, then the first name, then the first language; each but the last step
  // must lead to a subdirectory, and the last to a data entry.
  const auto type = FindResourceEntry(r, *base, image->resource_size, 0, kResourceTypeVersion);
  if (!type || (*type & kSubdirectory) == 0)
    return std::nullopt;
  const auto name = FindResourceEntry(r, *base, image->resource_size, *type & ~kSubdirectory, 0);
  if (!name || (*name & kSubdirectory) == 0)
    return std::nullopt;
  const auto language =
      FindResourceEntry(r, *base, image->resource_size, *name & ~kSubdirectory, 0);
  if (!language || (*language & kSubdirectory) != 0 || *language > image->resource_size ||
      image->resource_size - *language < 16)
    return std::nullopt;
  const auto data_rva = r.Uint(*base + *language, 4);
  const auto data_size = r.Uint(*base + *language + 4, 4);
  if (!data_rva || !data_size)
    return std::nullopt;
  const auto data = RvaToOffset(*image, *data_rva, *data_size);
  if (!data)
    return std::nullopt;
  return r.Block(*data, *data_size);
}

// ---- ELF ----

std::optional<std::vector<std::uint8_t>> FindElfVersionBlock(Reader& r) {
  const auto elf_class = r.Uint(4, 1);
  const auto encoding = r.Uint(5, 1);
  if (!elf_class || !encoding || *encoding != 1) // little-endian only
    return std::nullopt;
  const bool wide = *elf_class == 2;
  if (!wide && *elf_class != 1)
    return std::nullopt;
  const std::size_t word = wide ? 8 : 4;
  const auto table = r.Uint(wide ? 0x28 : 0x20, word);
  const auto entry_size = r.Uint(wide ? 0x3A : 0x2E, 2);
  auto count = r.Uint(wide ? 0x3C : 0x30, 2);
  auto names_index = r.Uint(wide ? 0x3E : 0x32, 2);
  const std::uint64_t min_entry = wide ? 64 : 40;
  if (!table || !entry_size || !count || !names_index || *table == 0 || *entry_size < min_entry)
    return std::nullopt;

  const auto field = [&](std::uint64_t index, std::size_t at32, std::size_t at64,
                         std::size_t width32, std::size_t width64) {
    return r.Uint(*table + index * *entry_size + (wide ? at64 : at32), wide ? width64 : width32);
  };
  // Many sections: the real counts live in section 0.
  if (*count == 0)
    count = field(0, 20, 32, 4, 8); // sh_size
  if (names_index && *names_index == 0xFFFF)
    names_index = field(0, 24, 40, 4, 4); // sh_link
  if (!count || !names_index || *count > 1'000'000 || *names_index >= *count)
    return std::nullopt;

  const auto names_offset = field(*names_index, 16, 24, 4, 8);
  const auto names_size = field(*names_index, 20, 32, 4, 8);
  if (!names_offset || !names_size)
    return std::nullopt;
  constexpr std::string_view wanted{kVersionSectionName, sizeof kVersionSectionName};
  std::array<char, sizeof kVersionSectionName> name{};
  for (std::uint64_t i = 0; i < *count; ++i) {
    const auto name_at = field(i, 0, 0, 4, 4);
    const auto type = field(i, 4, 4, 4, 4);
    if (!name_at || !type)
      return std::nullopt;
    constexpr std::uint64_t kNoBits = 8;
    if (*type == kNoBits || *name_at > *names_size || *names_size - *name_at < name.size())
      continue;
    if (!r.Read(*names_offset + *name_at, name.data(), name.size()) ||
        std::string_view(name.data(), name.size()) != wanted)
      continue;
    const auto offset = field(i, 16, 24, 4, 8);
    const auto size = field(i, 20, 32, 4, 8);
    if (!offset || !size)
      return std::nullopt;
    return r.Block(*offset, *size);
  }
  return std::nullopt;
}

} // namespace

std::optional<std::vector<std::uint8_t>> FindVersionBlock(platform::RandomAccessFile& file) {
  Reader r(file);
  std::array<char, 4> magic{};
  if (!r.Read(0, magic.data(), magic.size()))
    return std::nullopt;
  if (magic[0] == 'M' && magic[1] == 'Z')
    return FindPeVersionBlock(r);
  if (std::memcmp(magic.data(),
                  "\x7F"
                  "ELF",
                  4) == 0)
    return FindElfVersionBlock(r);
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadVersionBlock(const std::string& path) {
  const std::unique_ptr<platform::RandomAccessFile> file = platform::OpenFileForReading(path);
  if (!file)
    return std::nullopt;
  return FindVersionBlock(*file);
}

} // namespace about
