// A quick look at a folder file's header and index root.
#include "dbx_layout.h"
#include "stream_operations.h"

#include <algorithm>

namespace uoexpress {

using namespace layout;

Toe5_FileState ReadFileState(const std::string& path) {
  DbxStream stream(path);
  return ReadState(stream);
}

Toe5_FileState ReadState(DbxStream& stream) {
  Toe5_FileState state;
  state.Size = stream.Size();
  unsigned char signature[sizeof kSignature];
  stream.Read(0, signature, sizeof signature);
  state.Signature = std::equal(signature, signature + sizeof signature, kSignature);
  state.MessageCount = ReadFileHeader(stream).MessageCount;
  std::int32_t root = stream.ReadInt32(kRootNodeOffset);
  unsigned char node[kNodeHeaderSize];
  stream.Read(root, node, sizeof node);
  state.RootPasses = root > 0 && LoadInt32(node) == root;
  state.RootHasEntries = state.RootPasses && (LoadUInt32(node + kNodeCountWord) >> 8) > 0;
  return state;
}

} // namespace uoexpress
