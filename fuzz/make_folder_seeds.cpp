// Writes the generated seeds of folder_database_fuzzer: small folder databases with the
// structures the reader knows laid out close together, so that the fuzzer's mutations reach
// them.
//   build-fuzz/fuzz/make_folder_seeds fuzz/corpus/folder_database
#include "dbx_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using dbxtest::DbxImage;

constexpr char kSignature[] = "\xCF\xAD\x12\xFE\xC6\xFD\x74\x6F";

// A folder record: number, parent (-1 stands in the value area), name and file.
void Folder(DbxImage& image, std::int32_t offset, std::int32_t index, std::int32_t parent,
            const std::string& name, const std::string& file) {
  std::string values = name + '\0';
  std::vector<dbxtest::Attribute> attributes = {{0x80, static_cast<std::uint32_t>(index)},
                                                {0x02, 0}};
  if (parent < 0) {
    attributes.push_back({0x01, static_cast<std::uint32_t>(values.size())});
    values += std::string("\xFF\xFF\xFF\xFF", 4);
  } else {
    attributes.push_back({0x81, static_cast<std::uint32_t>(parent)});
  }
  if (!file.empty()) {
    attributes.push_back({0x03, static_cast<std::uint32_t>(values.size())});
    values += file + '\0';
  }
  image.Record(offset, attributes, values);
}

DbxImage Header() {
  DbxImage image(256);
  image.PutBytes(0, std::string_view(kSignature, 8));
  return image;
}

// A small tree: the root, Local Folders, two folders with files and a subfolder, in a root
// node with a child node; the second tree names the same records.
DbxImage Tree() {
  DbxImage image = Header();
  image.PutInt32(0xE4, 256);
  image.PutInt32(0xE8, 600);
  image.Node(256, 0, 360, {{700, 0}, {760, 0}, {820, 0}});
  image.Node(360, 0, 0, {{880, 0}, {940, 0}});
  image.Node(600, 0, 0, {{940, 0}, {700, 0}});
  Folder(image, 700, 0, -1, "Outlook Express", "");
  Folder(image, 760, 1, 0, "Local Folders", "");
  Folder(image, 820, 4, 1, "Inbox", "Inbox.dbx");
  Folder(image, 880, 20, 1, "Work", "");
  Folder(image, 940, 21, 20, "Projects", "Projects.dbx");
  return image;
}

// Parents that name each other, a node that is its own child, a name without its NUL.
DbxImage Loops() {
  DbxImage image = Header();
  image.PutInt32(0xE4, 256);
  image.Node(256, 0, 256, {{400, 256}, {460, 0}, {520, 0}});
  Folder(image, 400, 7, 8, "A", "A.dbx");
  Folder(image, 460, 8, 7, "B", "B.dbx");
  image.Record(520, {{0x80, 9}, {0x81, 9}, {0x02, 0}}, "no end");
  return image;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  const std::string folder = argv[1];
  Tree().WriteTo(folder + "/tree.dbx");
  Loops().WriteTo(folder + "/loops.dbx");
  return 0;
}
