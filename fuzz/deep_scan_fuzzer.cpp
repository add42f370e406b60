// The deep scan on arbitrary file bytes: after the two listings, the search for messages by
// their blocks, then the preview and the full text of every message it finds. What it finds
// must start at distinct blocks in file order, hold text, and keep previews short.
#include "memory_file.h"
#include "store/uoexpress.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxTextReads = 64;
constexpr std::size_t kBlockText = 512;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::ScopedMemoryFile file({reinterpret_cast<const char*>(data), size});
  std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos("fuzz.dbx", live);
  uoexpress::ReadDeletedMessageInfos("fuzz.dbx", deleted);
  const std::vector<std::int64_t> listed = uoexpress::FirstBlocks(live, deleted);
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos("fuzz.dbx", listed, found);

  std::int64_t previous = 0;
  std::size_t reads = 0;
  for (const auto& message : found) {
    if (message.DataOffset <= previous || message.DataOffset >= static_cast<std::int64_t>(size) ||
        message.BlockCount < 1)
      __builtin_trap();
    previous = message.DataOffset;
    if (++reads > kMaxTextReads)
      continue;
    std::string preview, full;
    uoexpress::ReadFoundMessageText("fuzz.dbx", message, preview, false);
    uoexpress::ReadFoundMessageText("fuzz.dbx", message, full, true);
    if (full.empty() || !full.starts_with(preview) || preview.size() > 21 * kBlockText ||
        full.size() > static_cast<std::size_t>(message.BlockCount) * kBlockText)
      __builtin_trap();
  }
  return 0;
}
