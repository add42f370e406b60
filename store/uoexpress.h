// The Outlook Express folder-file (.dbx) reader.
//
// Four operations, each opening the file read-only and exclusively for its own duration:
// listing the live messages of the index, reading a live message's text, listing the deleted
// messages still chained in the file, and reading a deleted message's text. Damaged content is
// never reported: a structure is accepted only when its first field holds its own file offset,
// and whatever fails that test is skipped. The only error is EFOpenError.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace uoexpress {

// One message's index information. Deleted messages carry only DataOffset.
struct Toe5_MessageInfo {
  std::int32_t Attr00 = 0;
  std::int32_t Attr01 = 0;
  std::string Attr1B;
  std::string Attr1A;
  std::string Attr07;
  std::uint64_t Attr02 = 0;
  std::uint64_t Attr12 = 0;
  std::string Attr08;
  std::string Attr0D;
  std::string Attr09;
  std::string Attr13;
  std::string Attr0E;
  std::string Attr0A;
  std::string Attr0B;
  std::int32_t Attr11 = 0;     // direct tag 0x91
  std::int32_t DataOffset = 0; // file offset of the message's first data block
  std::int32_t InfoOffset = 0; // file offset of the message-info record; 0 for deleted ones

  bool operator==(const Toe5_MessageInfo&) const = default;
};

// Raised, with "Cannot open file " and the path, when a folder file cannot be opened.
class EFOpenError : public std::runtime_error {
public:
  explicit EFOpenError(const std::string& path);
};

// Appends the live messages of the index to `list`, in walk order, each at most once.
void ReadMessageInfos(const std::string& path, std::vector<Toe5_MessageInfo>& list);

// Sets `text` to the live message whose first data block is at `offset`: about the first
// 10 KB when `FullText` is false, the whole chain when true. The bytes are returned as stored.
// A non-positive offset leaves `text` untouched.
void ReadMessageText(const std::string& path, std::int32_t offset, std::string& text,
                     bool FullText);

// Appends one record per deleted message whose start the deleted chain reveals.
void ReadDeletedMessageInfos(const std::string& path, std::vector<Toe5_MessageInfo>& list);

// As ReadMessageText, for a deleted message's chain; every block's text starts with "____",
// where the chain link overwrote the message's bytes.
void ReadDeletedMessageText(const std::string& path, std::int32_t offset, std::string& text,
                            bool FullText);

} // namespace uoexpress
