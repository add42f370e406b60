#include "about/version_info.h"

#include "about/version_locator.h"

#include <utility>

namespace about {
namespace {

constexpr char kStringTable[] = "\\StringFileInfo\\040904E4\\";

// The string-table keys the reader takes, in order, and the detail name each goes under;
// an empty detail name marks a key with a field of its own.
constexpr std::pair<const char*, const char*> kStringKeys[] = {
    {"Comments", "Comments"},
    {"CompanyName", "Company Name"},
    {"FileDescription", ""},
    {"InternalName", "Internal Name"},
    {"LegalCopyright", ""},
    {"LegalTradeMarks", "Legal Trademarks"},
    {"OriginalFileName", "Original Filename"},
    {"PrivateBuild", "Private Build"},
    {"ProductName", "Product Name"},
    {"ProductVersion", "Product Version"},
    {"SpecialBuild", "Special Build"},
    {"Author", "Author"},
};

} // namespace

std::string FourPartVersion(std::uint32_t ms, std::uint32_t ls) {
  return std::to_string(ms >> 16) + '.' + std::to_string(ms & 0xFFFF) + '.' +
         std::to_string(ls >> 16) + '.' + std::to_string(ls & 0xFFFF);
}

std::string ShortVersionText(std::string version) {
  // ".0" at the end is always a whole last number that is zero: "1.10" ends in "10".
  while (version.ends_with(".0"))
    version.erase(version.size() - 2);
  if (version.find('.') == std::string::npos)
    version += ".0";
  return version;
}

std::string OperatingSystemName(std::uint32_t file_os) {
  switch (file_os) {
  case 1:
    return "Windows 3.xx";
  case 2:
    return "16-bit OS/2 Presentation Manager";
  case 3:
    return "32-bit OS/2 Presentation Manager";
  case 4:
    return "32-bit Windows";
  case 0x10000:
    return "MS-DOS";
  case 0x10001:
    return "Windows 3.xx with MS-DOS";
  case 0x10004:
    return "32-bit Windows with MS-DOS";
  case 0x20000:
    return "16-bit OS/2";
  case 0x20002:
    return "16-bit OS/2 with Presentation Manager";
  case 0x30000:
    return "32-bit OS/2";
  case 0x30003:
    return "32-bit OS/2 with Presentation Manager";
  case 0x40000:
    return "Windows NT";
  case 0x40004:
    return "Windows NT with 32 bit Windows";
  default:
    return "Unknown";
  }
}

std::string FileTypeName(std::uint32_t file_type) {
  switch (file_type) {
  case 1:
    return "Application";
  case 2:
    return "Dynamic-Link Library";
  case 3:
    return "Device Driver";
  case 4:
    return "Font";
  case 5:
    return "Virtual Device Driver";
  case 7:
    return "Static-Link Library";
  default:
    return "Unknown";
  }
}

void TVersionInfo::ReadVersionInfo(const std::string& fileName) {
  *this = TVersionInfo();
  fileName_ = fileName;
  if (fileName.empty())
    return;
  if (const auto block = ReadVersionBlock(fileName))
    ParseVersionBlock(*block);
}

void TVersionInfo::ParseVersionBlock(Bytes block) {
  const std::optional<FixedFileInfo> fixed = QueryFixedFileInfo(block);
  if (!fixed)
    return;
  versionText_ = ShortVersionText(FourPartVersion(fixed->file_version_ms, fixed->file_version_ls));
  details_.push_back("ProductVersion=" +
                     FourPartVersion(fixed->product_version_ms, fixed->product_version_ls));
  details_.push_back("OperatingSystem=" + OperatingSystemName(fixed->file_os));
  details_.push_back("FileType=" + FileTypeName(fixed->file_type));
  for (const auto& [key, detail] : kStringKeys) {
    const std::optional<std::string> value =
        QueryStringValue(block, std::string(kStringTable) + key);
    if (!value)
      continue;
    if (std::string_view(key) == "FileDescription")
      fileDescription_ = *value;
    else if (std::string_view(key) == "LegalCopyright")
      legalCopyright_ = *value;
    else
      details_.push_back(std::string(detail) + '=' + *value);
  }
}

} // namespace about
