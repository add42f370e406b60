// Rebuilding a message's text from its chain of 528-byte blocks, live or deleted.
#include "dbx_layout.h"
#include "dbx_stream.h"
#include "platform/pump.h"
#include "uoexpress.h"

#include <algorithm>
#include <unordered_set>

namespace uoexpress {
namespace {

using namespace layout;

enum class Chain { Live, Deleted };

// The text a block contributes: its stated length, at most the 512 text bytes, cut at the
// first NUL. In a deleted block the first four text bytes hold the deleted-chain link; they
// become "____" and the length field counts the 16-byte frame.
std::string_view BlockPiece(unsigned char* block, Chain chain) {
  char* text = reinterpret_cast<char*>(block + kBlockText);
  std::int64_t length = LoadInt32(block + kBlockLength);
  if (chain == Chain::Deleted) {
    std::fill(text, text + 4, '_');
    length -= kDeletedLengthBias;
  }
  if (length <= 0)
    return {};
  std::size_t size = static_cast<std::size_t>(std::min(length, kBlockTextSize));
  return {text, static_cast<std::size_t>(std::find(text, text + size, '\0') - text)};
}

void ReadChain(DbxStream& stream, std::int32_t offset, std::string& text, bool full_text,
               Chain chain) {
  std::int64_t counted = 0;
  std::int32_t current = offset;
  // A chain ends at a block it has already read, so a looping chain cannot run forever.
  std::unordered_set<std::int32_t> read_blocks;
  unsigned char block[kBlockSize];
  while (true) {
    platform::PumpMessages();
    if (platform::StopRequested()) {
      text.clear();
      return;
    }
    stream.Read(current, block, sizeof block);
    if (LoadInt32(block) != current || !read_blocks.insert(current).second)
      return;
    text.append(BlockPiece(block, chain));
    std::int32_t next = LoadInt32(block + kBlockNext);
    if (next == 0)
      return;
    counted += kBlockTextSize;
    if (!full_text && counted > kPreviewLimit)
      return;
    current = next;
  }
}

} // namespace

void ReadMessageText(const std::string& path, std::int32_t offset, std::string& text,
                     bool FullText) {
  if (offset <= 0)
    return;
  DbxStream stream(path);
  text.clear();
  if (ReadFileHeader(stream).MessageCount <= 0)
    return;
  ReadChain(stream, offset, text, FullText, Chain::Live);
}

void ReadDeletedMessageText(const std::string& path, std::int32_t offset, std::string& text,
                            bool FullText) {
  if (offset <= 0)
    return;
  DbxStream stream(path);
  text.clear();
  ReadChain(stream, offset, text, FullText, Chain::Deleted);
}

} // namespace uoexpress
