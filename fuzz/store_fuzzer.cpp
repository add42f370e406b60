// The four reader operations on arbitrary file bytes: both listings, then the preview and the
// full text of every message they find.
#include "memory_file.h"
#include "store/uoexpress.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxTextReads = 64;

void ReadTexts(const std::vector<uoexpress::Toe5_MessageInfo>& infos, bool deleted) {
  std::size_t reads = 0;
  for (const auto& info : infos) {
    if (++reads > kMaxTextReads)
      return;
    for (bool full : {false, true}) {
      std::string text = "untouched";
      if (deleted)
        uoexpress::ReadDeletedMessageText("fuzz.dbx", info.DataOffset, text, full);
      else
        uoexpress::ReadMessageText("fuzz.dbx", info.DataOffset, text, full);
      if (!full && text.size() > 11 * 1024 + 512)
        __builtin_trap(); // a preview stops after about 10 KB
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::ScopedMemoryFile file({reinterpret_cast<const char*>(data), size});
  std::vector<uoexpress::Toe5_MessageInfo> live;
  uoexpress::ReadMessageInfos("fuzz.dbx", live);
  std::vector<uoexpress::Toe5_MessageInfo> deleted;
  uoexpress::ReadDeletedMessageInfos("fuzz.dbx", deleted);
  ReadTexts(live, false);
  ReadTexts(deleted, true);
  // Offsets the listings did not give must be as safe: the first words of the input.
  for (std::size_t pos = 0; pos + 4 <= size && pos < 16; pos += 4) {
    std::int32_t offset = static_cast<std::int32_t>(
        std::uint32_t{data[pos]} | (std::uint32_t{data[pos + 1]} << 8) |
        (std::uint32_t{data[pos + 2]} << 16) | (std::uint32_t{data[pos + 3]} << 24));
    std::string text;
    uoexpress::ReadMessageText("fuzz.dbx", offset, text, true);
    uoexpress::ReadDeletedMessageText("fuzz.dbx", offset, text, true);
  }
  return 0;
}
