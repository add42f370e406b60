// One recovered e-mail of the result list: where its text lies and the texts of its row.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// Where a recovered message's text is and what kind of message it is.
struct TEmailMessage {
  std::int64_t DataOffset = 0; // first data block; the readers take its low 32 bits
  std::int64_t Attr11 = 0;     // tag 0x91 of the index record, 0 for deleted messages
  std::string FolderFileName;  // the folder file, without directory
  bool Deleted = false;
  bool HasAttachment = false;
};

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
  bool ticked = false; // deleted messages start ticked
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
