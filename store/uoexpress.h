// The Outlook Express folder-file (.dbx) reader.
//
// Each operation opens the file read-only and exclusively for its own duration: listing the
// live messages of the index, reading a live message's text, listing the deleted messages
// still chained in the file, reading a deleted message's text, and the deep scan, which finds
// messages by their data blocks alone and reads them back. Damaged content is never reported:
// a structure is accepted only when its first field holds its own file offset, and whatever
// fails that test is skipped. The only error is EFOpenError.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
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

// What a folder file's header and index root say, to tell a damaged file from an intact one
// without reading its messages.
struct Toe5_FileState {
  std::int64_t Size = 0;
  bool Signature = false;        // the file begins as every folder file does
  std::int32_t MessageCount = 0; // as declared at offset 196
  bool RootPasses = false;       // the root node named in the header passes its self-offset test
  bool RootHasEntries = false;   // and names at least one entry
};

Toe5_FileState ReadFileState(const std::string& path);

// Where a found chain goes on in another piece of the source: the block with number `Block`
// (the first is 0) stands at `Position` instead of where the block before it names. A folder
// file that was fragmented, or whose clusters were moved, keeps each run of its bytes at a
// shift of its own. A block that ran over the end of one run has its first `SplitAt` bytes at
// `Position` and the rest at `SplitPosition`, where its file's next run stands.
struct Toe5_ChainJump {
  std::int32_t Block = 0;
  std::int64_t Position = 0;
  std::int32_t SplitAt = 0; // 0: the block stands whole at Position
  std::int64_t SplitPosition = 0;

  bool operator==(const Toe5_ChainJump&) const = default;
};

// A message the deep scan found by its data blocks: a chain of blocks that neither the index
// nor the deleted chain reaches. Positions are places in the source that was scanned (a folder
// file, a disk image, a device), which need not be the offsets the blocks name: a block holds
// its own offset in the folder file it belongs to, and that file may start anywhere in the
// source, or before it when its head is lost.
struct Toe5_FoundMessage {
  std::int64_t DataOffset = 0; // where the chain's first block stands in the source
  std::int32_t BlockCount = 0; // blocks in the chain as the deep scan linked them
  bool FreedBlocks = false;    // the blocks were freed: read the way deleted blocks are read
  bool Fragment = false;       // the text does not begin with a message's header lines
  // Where the folder file holding the chain starts in the source: the first block's position
  // less its own offset (negative when the file's head is lost). Chains of one folder file
  // share it, also across the pieces of a fragmented file.
  std::int64_t FileStart = 0;
  std::vector<Toe5_ChainJump> Jumps; // in block order; empty for a chain in one piece

  bool operator==(const Toe5_FoundMessage&) const = default;
};

// A message the index walk or the deleted chain listed: where its first block stands.
struct Toe5_ListedBlock {
  std::int64_t DataOffset = 0;
  bool Deleted = false;
};

// The first blocks of the messages the index walk and the deleted chain listed: what the deep
// scan leaves out.
std::vector<Toe5_ListedBlock> FirstBlocks(const std::vector<Toe5_MessageInfo>& live,
                                          const std::vector<Toe5_MessageInfo>& deleted);

// Told how far the deep scan's pass over the file has come: bytes scanned of `total`.
using DeepScanProgress = std::function<void(std::int64_t scanned, std::int64_t total)>;
// Told of bytes of the source that could not be read: where they start and how many there
// are. The scan reads them as zeros and goes on after them.
using DeepScanReadError = std::function<void(std::int64_t offset, std::int64_t length)>;

// Appends, in source order, one record per chain of data blocks whose text is not empty and
// that no message of `listed` (the first blocks the index walk and the deleted chain gave)
// reaches. Needs no header: it reads the whole source, of any size, in large sequential pieces,
// and finds blocks wherever they stand. Stop ends the pass early: the blocks found so far are
// still linked, and their messages appended.
void ReadFoundMessageInfos(const std::string& path, std::span<const Toe5_ListedBlock> listed,
                           std::vector<Toe5_FoundMessage>& list,
                           const DeepScanProgress& progress = {},
                           const DeepScanReadError& read_error = {});

// Sets `text` to a found message's text, block by block as the deep scan linked them: about
// the first 10 KB when `FullText` is false, the whole chain when true.
void ReadFoundMessageText(const std::string& path, const Toe5_FoundMessage& message,
                          std::string& text, bool FullText);

class DbxStream;

// A folder file opened once, read-only and exclusively, and held for a run of many reads: the
// operations above without opening and locking the file again for each. The header's message
// count is read once, when the file is opened; the file must not change while it is held.
class FolderFile {
public:
  // Throws EFOpenError when the file cannot be opened.
  explicit FolderFile(const std::string& path);
  ~FolderFile();
  FolderFile(FolderFile&&) noexcept;
  FolderFile& operator=(FolderFile&&) noexcept;

  void ReadMessageInfos(std::vector<Toe5_MessageInfo>& list);
  void ReadMessageText(std::int32_t offset, std::string& text, bool FullText);
  void ReadDeletedMessageInfos(std::vector<Toe5_MessageInfo>& list);
  void ReadDeletedMessageText(std::int32_t offset, std::string& text, bool FullText);
  void ReadFoundMessageInfos(std::span<const Toe5_ListedBlock> listed,
                             std::vector<Toe5_FoundMessage>& list,
                             const DeepScanProgress& progress = {},
                             const DeepScanReadError& read_error = {});
  void ReadFoundMessageText(const Toe5_FoundMessage& message, std::string& text, bool FullText);
  Toe5_FileState ReadFileState();

private:
  std::unique_ptr<DbxStream> stream_;
  std::int32_t message_count_ = 0;
};

} // namespace uoexpress
