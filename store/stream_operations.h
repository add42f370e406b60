// The reader's operations on a file already open: the path functions open the file for one
// operation, a FolderFile holds it open for many.
#pragma once

#include "dbx_stream.h"
#include "uoexpress.h"

namespace uoexpress {

void ListLiveMessages(DbxStream& stream, std::int32_t message_count,
                      std::vector<Toe5_MessageInfo>& list);
void ListDeletedMessages(DbxStream& stream, std::vector<Toe5_MessageInfo>& list);
void ListFoundMessages(DbxStream& stream, std::span<const Toe5_ListedBlock> listed,
                       std::vector<Toe5_FoundMessage>& list, const DeepScanProgress& progress,
                       const DeepScanReadError& read_error);

// A message count of 0 or less leaves the text empty, as for a file that declares no messages.
void ReadLiveText(DbxStream& stream, std::int32_t message_count, std::int32_t offset,
                  std::string& text, bool full_text);
void ReadDeletedText(DbxStream& stream, std::int32_t offset, std::string& text, bool full_text);
void ReadFoundText(DbxStream& stream, const Toe5_FoundMessage& message, std::string& text,
                   bool full_text);

Toe5_FileState ReadState(DbxStream& stream);

} // namespace uoexpress
