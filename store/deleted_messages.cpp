// Finding deleted messages in the deleted chain.
//
// Outlook Express frees a deleted message's blocks in order and pushes each on the head of
// the chain, so the chain runs from a message's last block back to its first, then on into
// the message deleted before it. Hence a chain block begins a message when the chain block
// after it is a message's last block (its next-block offset is 0), and the chain's final
// block begins one as well.
#include "dbx_layout.h"
#include "dbx_stream.h"
#include "platform/pump.h"
#include "stream_operations.h"

#include <unordered_set>

namespace uoexpress {
namespace {

using namespace layout;

Toe5_MessageInfo DeletedMessageAt(std::int32_t offset) {
  Toe5_MessageInfo info;
  info.DataOffset = offset;
  return info;
}

} // namespace

void ReadDeletedMessageInfos(const std::string& path, std::vector<Toe5_MessageInfo>& list) {
  DbxStream stream(path);
  ListDeletedMessages(stream, list);
}

void ListDeletedMessages(DbxStream& stream, std::vector<Toe5_MessageInfo>& list) {
  std::int32_t current = stream.ReadInt32(kDeletedChainHead);
  if (current <= 0)
    return;
  std::int32_t previous = 0;
  // The walk ends at a block it has already met, so a looping chain cannot run forever.
  std::unordered_set<std::int32_t> met;
  while (true) {
    platform::PumpMessages();
    if (platform::StopRequested())
      return;
    unsigned char frame[kDeletedChainLink + 4];
    stream.Read(current, frame, sizeof frame);
    if (LoadInt32(frame) != current || !met.insert(current).second)
      return;
    if (LoadInt32(frame + kBlockNext) == 0 && previous != 0)
      list.push_back(DeletedMessageAt(previous));
    previous = current;
    std::int32_t link = LoadInt32(frame + kDeletedChainLink);
    if (link <= 0) {
      list.push_back(DeletedMessageAt(current));
      return;
    }
    current = link;
  }
}

} // namespace uoexpress
