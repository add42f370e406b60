#include "damage_check.h"

namespace app {
namespace {

// Below this size a file holds no more than its header, so there is nothing to find.
constexpr std::int64_t kHeaderSize = 0x24BC;

} // namespace

bool FolderLooksDamaged(const uoexpress::Toe5_FileState& state, std::size_t live_listed) {
  if (!state.Signature)
    return state.Size > kHeaderSize;
  if (state.MessageCount > 0)
    return !state.RootPasses || live_listed < static_cast<std::size_t>(state.MessageCount);
  return state.RootHasEntries;
}

} // namespace app
