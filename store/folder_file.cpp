#include "stream_operations.h"

#include <limits>

namespace uoexpress {

FolderFile::FolderFile(const std::string& path)
    : stream_(std::make_unique<DbxStream>(path)),
      message_count_(ReadFileHeader(*stream_).MessageCount) {}

FolderFile::~FolderFile() = default;
FolderFile::FolderFile(FolderFile&&) noexcept = default;
FolderFile& FolderFile::operator=(FolderFile&&) noexcept = default;

void FolderFile::ReadMessageInfos(std::vector<Toe5_MessageInfo>& list) {
  ListLiveMessages(*stream_, message_count_, list);
}

void FolderFile::ReadMessageText(std::int32_t offset, std::string& text, bool FullText) {
  if (offset > 0)
    ReadLiveText(*stream_, message_count_, offset, text, FullText);
}

void FolderFile::ReadDeletedMessageInfos(std::vector<Toe5_MessageInfo>& list) {
  ListDeletedMessages(*stream_, list);
}

void FolderFile::ReadDeletedMessageText(std::int32_t offset, std::string& text, bool FullText) {
  if (offset > 0)
    ReadDeletedText(*stream_, offset, text, FullText);
}

void FolderFile::ReadFoundMessageInfos(std::span<const Toe5_ListedBlock> listed,
                                       std::vector<Toe5_FoundMessage>& list,
                                       const DeepScanProgress& progress,
                                       const DeepScanReadError& read_error) {
  ListFoundMessages(*stream_, listed, list, progress, read_error);
}

void FolderFile::ReadFoundMessageText(const Toe5_FoundMessage& message, std::string& text,
                                      bool FullText) {
  if (message.DataOffset >= 0)
    ReadFoundText(*stream_, message, text, FullText);
}

Toe5_FileState FolderFile::ReadFileState() {
  return ReadState(*stream_);
}

} // namespace uoexpress
