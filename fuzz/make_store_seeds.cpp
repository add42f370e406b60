// Writes the generated seeds of store_fuzzer and deep_scan_fuzzer: small folder files with
// every structure the reader knows, laid out close together so that the fuzzer's mutations
// reach them.
//   build-fuzz/fuzz/make_store_seeds fuzz/corpus
#include "dbx_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using dbxtest::DbxImage;

// A record naming its first data block directly (tag 0x84), with a subject and the size.
void Record(DbxImage& image, std::int32_t offset, std::int32_t data, const std::string& subject,
            std::uint32_t size) {
  image.Record(
      offset,
      {{0x80, 1}, {0x81, 0x81}, {0x84, static_cast<std::uint32_t>(data)}, {0x08, 0}, {0x91, size}},
      subject + '\0');
}

// Two live messages under a root node with a child, and two deleted ones in the chain.
DbxImage LiveAndDeleted() {
  DbxImage image(256);
  image.SetMessageCount(2);
  image.SetRootNode(256);
  image.Node(256, 0, 0, {{300, 0}, {340, 380}});
  image.Node(380, 0, 0, {});
  Record(image, 300, 480, "One", 20);
  Record(image, 340, 1008, "Two", 600);
  image.Block(480, 20, 0, "Subject: One\r\n\r\nHi\r\n");
  image.Block(1008, 512, 1536, std::string(512, 'a'));
  image.Block(1536, 88, 0, std::string(88, 'b'));
  image.DeletedBlock(2064, 16 + 30, 0, 2592, "Subject: Gone\r\n\r\nDeleted text");
  image.DeletedBlock(2592, 16 + 512, 2064, 0, std::string(512, 'c'));
  image.SetDeletedHead(2592);
  return image;
}

// The header's count says more than the tree holds, so the fallback table is read too.
DbxImage FallbackTable() {
  DbxImage image(256);
  image.SetMessageCount(3);
  image.SetRootNode(0);
  Record(image, 300, 480, "Listed", 5);
  image.Block(480, 5, 0, "Hello");
  image.FallbackTable({300, 0, 300});
  return image;
}

// A node whose count word is the offset of another node, and records whose data offset lies
// in the value area.
DbxImage ProbedNode() {
  DbxImage image(256);
  image.SetMessageCount(1);
  image.SetRootNode(256);
  image.Node(256, 0, 0, {{400, 0}}, 0x200);
  image.Node(0x200, 0, 0, {{400, 0}});
  image.Record(400, {{0x80, 1}, {0x01, 0}, {0x02, 4}, {0x04, 12}, {0x91, 3}},
               std::string("\x81\0\0\0", 4) + std::string(8, '\0') +
                   std::string("\x00\x04\0\0", 4));
  image.Block(1024, 3, 0, "abc");
  return image;
}

// Blocks without a header: a live chain, a freed chain whose last block still counts only its
// text, a freed one-block message, a block named by two others, and three blocks in a ring.
DbxImage BlocksOnly() {
  DbxImage image(64);
  auto at = [](int block) { return 64 + 528 * block; };
  image.Block(at(0), 40, at(1), "Subject: live\r\n\r\n" + std::string(22, 'l'));
  image.Block(at(1), 10, 0, std::string(10, 'm'));
  image.DeletedBlock(at(2), 528, at(3), 0, "Subject: freed\r\n" + std::string(495, 'f'));
  image.DeletedBlock(at(3), 16 + 20, 0, at(2), std::string(20, 'g'));
  image.DeletedBlock(at(4), 16 + 30, 0, at(3), "Subject: one block, freed\r\n");
  image.Block(at(5), 12, at(7), "Subject: a\r\n");
  image.Block(at(6), 12, at(7), "Subject: b\r\n");
  image.Block(at(7), 5, 0, "tail.");
  image.Block(at(8), 6, at(9), "ring 1");
  image.Block(at(9), 6, at(10), "ring 2");
  image.Block(at(10), 6, at(8), "ring 3");
  return image;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  const std::string corpus = argv[1];
  BlocksOnly().WriteTo(corpus + "/deep_scan/blocks_only.dbx");
  LiveAndDeleted().WriteTo(corpus + "/deep_scan/live_and_deleted.dbx");
  std::string folder = corpus + "/store";
  LiveAndDeleted().WriteTo(folder + "/live_and_deleted.dbx");
  FallbackTable().WriteTo(folder + "/fallback_table.dbx");
  ProbedNode().WriteTo(folder + "/probed_node.dbx");
  dbxtest::StoreBuilder builder;
  dbxtest::MessageFields fields;
  fields.subject = "Kept";
  builder.AddMessage("Subject: Kept\r\nFrom: a@example.org\r\n\r\nBody\r\n", fields);
  fields.subject = "Gone";
  int gone = builder.AddMessage(std::string(1500, 'x'), fields);
  builder.DeleteMessage(gone);
  builder.Build().WriteTo(folder + "/built_store.dbx");
  return 0;
}
