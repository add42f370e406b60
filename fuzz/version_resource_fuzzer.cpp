// The version-resource reader on arbitrary blocks.
#include "about/version_info.h"
#include "about/version_resource.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  about::Bytes block(data, size);
  (void)about::QueryFixedFileInfo(block);
  (void)about::QueryStringValue(block, "\\StringFileInfo\\040904E4\\CompanyName");
  (void)about::QueryStringValue(block, "\\VarFileInfo\\Translation");
  (void)about::Utf16LeToUtf8(block);
  about::TVersionInfo info;
  info.ParseVersionBlock(block);
  return 0;
}
