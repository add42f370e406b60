// One recovered e-mail of the result list: where its text lies and the texts of its row.
#pragma once

#include "store/uoexpress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace app {

// How a message found only by the deep scan is read back: as many blocks as its chain had
// when found, read the way its blocks were stored.
struct FoundChain {
  std::int32_t Blocks = 0;
  bool FreedBlocks = false;   // deleted blocks: read the deleted way
  bool Fragment = false;      // the text does not begin with header lines
  std::int64_t FileStart = 0; // where its folder file starts in the source scanned
  std::vector<uoexpress::Toe5_ChainJump> Jumps; // where the chain goes on in another piece
};

// Where a recovered message's text is and what kind of message it is: listed by the index
// (live), by the deleted chain (Deleted), or found only by the deep scan (Found).
struct TEmailMessage {
  std::int64_t DataOffset = 0; // first data block; the index and deleted readers take its low
                               // 32 bits, found messages lie anywhere in the source scanned
  std::int64_t Attr11 = 0;     // tag 0x91 of the index record, 0 for deleted messages
  std::string FolderFileName;  // the folder file, without directory, or the folder found in a
                               // source read in place ("disk.img @ 0x8000000")
  bool Deleted = false;
  bool HasAttachment = false;
  bool Found = false;
  FoundChain Chain = {}; // only for found messages
  // A disk image or device read in place: its full path, where the text is read. Empty: the
  // folder file's working copy.
  std::string SourcePath = {};
};

// The kind as scripts and the list name it: "live", "deleted" or "found".
inline const char* KindName(const TEmailMessage& message) {
  return message.Found ? "found" : message.Deleted ? "deleted" : "live";
}

// The columns of the result list.
enum Column : int {
  kSelectColumn = 0,
  kFolderColumn,
  kDeletedColumn,
  kAttachmentColumn,
  kFromColumn,
  kToColumn,
  kSubjectColumn,
  kDateColumn,
  kColumnCount
};

// One row: the record, the check state and the texts shown. Texts are byte strings as the
// message parser gives them; they are converted only for display.
struct RecoveredRow {
  TEmailMessage message;
  bool ticked = false; // deleted and found messages start ticked
  int folder_image = 5;
  std::string from;
  std::string to;
  std::string subject;
  std::string date_text;
  double date_value = 0; // days since 30 December 1899, local time; 0 when unknown

  // The text shown in a column: empty for the select and marker columns.
  const std::string& Text(int column) const;
};

} // namespace app
