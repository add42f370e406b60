// Writes the generated seed of version_resource_fuzzer: a block like the program's own.
//   build-fuzz/fuzz/make_version_seed fuzz/corpus/version_resource/program.bin
#include "about/version_block_writer.h"

#include <fstream>

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  about::VersionBlockFields fields;
  fields.file_version = {1, 0, 2, 10};
  fields.product_version = {1, 0, 0, 0};
  fields.file_os = 0x40004;
  fields.strings = {{"CompanyName", "Salvora"},
                    {"FileDescription", "Salvora for Outlook Express"},
                    {"LegalCopyright", "\xC2\xA9 2026"}};
  auto block = about::BuildVersionBlock(fields);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(block.data()),
            static_cast<std::streamsize>(block.size()));
  return out ? 0 : 1;
}
