// The version reader: the program file's version resource as the about window shows it.
#pragma once

#include "about/version_resource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace about {

class TVersionInfo {
public:
  // Reads the version resource of `fileName`; a file without one (or an empty name) leaves
  // every value empty.
  void ReadVersionInfo(const std::string& fileName);
  // The same on a block already in memory.
  void ParseVersionBlock(Bytes block);

  const std::string& FileName() const { return fileName_; }
  const std::string& VersionText() const { return versionText_; }
  const std::string& FileDescription() const { return fileDescription_; }
  const std::string& LegalCopyright() const { return legalCopyright_; }
  // "name=value" lines in a fixed order.
  const std::vector<std::string>& Details() const { return details_; }

private:
  std::string fileName_;
  std::string versionText_;
  std::string fileDescription_;
  std::string legalCopyright_;
  std::vector<std::string> details_;
};

// "a.b.c.d" from the two halves of a version.
std::string FourPartVersion(std::uint32_t most_significant, std::uint32_t least_significant);
// Drops trailing ".0" parts, keeping at least "a.0": 1.0.0.0 → 1.0, 1.0.1.10 stays.
std::string ShortVersionText(std::string version);
// Names of VS_FIXEDFILEINFO's dwFileOS and dwFileType values.
std::string OperatingSystemName(std::uint32_t file_os);
std::string FileTypeName(std::uint32_t file_type);

} // namespace about
