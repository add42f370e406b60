// The scan run: for every ticked folder file, the live messages of its working copy, then
// its deleted ones, then (with the deep scan) those only its data blocks reveal, each read as
// a preview, parsed, and added as a row of the result list. A disk image or device gives only
// what the deep scan finds in it.
#pragma once

#include "date_text.h"
#include "folder_list.h"
#include "recovered_list.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mime {
class TMailMessage2000;
}

namespace app {

// What a scan tells the window, which turns it into widget changes.
class ScanObserver {
public:
  virtual ~ScanObserver() = default;
  // The Start button reads "Stop", the count shows 0, the gauge 0; Back, Next, Select All and
  // Select None are disabled. StopRequested has just been cleared; an observer may set it
  // again (a stop that arrived before the run began).
  virtual void ScanStarted() {}
  virtual void GaugeMaximum(int /*maximum*/) {}
  virtual void GaugeProgress(int /*progress*/) {}
  // A folder file is being read (the pointer shows the normal arrow).
  virtual void FolderStarted(const std::string& /*folder_file_name*/) {}
  virtual void RowAdded(std::size_t /*row_count*/) {}
  // A scan without the deep scan met a folder file that looks damaged: a deep scan of it may
  // find more (see FolderLooksDamaged).
  virtual void FolderLooksDamaged(const std::string& /*folder_file_name*/) {}
  // The deep scan's pass over a source read in place has read `scanned` of its `total` bytes.
  virtual void SourceScanned(std::int64_t /*scanned*/, std::int64_t /*total*/) {}
  // The deep scan could not read `length` bytes at `offset` of a folder file or a source read
  // in place (named as FolderStarted names it); it read them as zeros and went on.
  virtual void UnreadableBytes(const std::string& /*name*/, std::int64_t /*offset*/,
                               std::int64_t /*length*/) {}
  // Always, also when an error ends the run: the Start button is disabled and keeps reading
  // "Stop"; Back, Next, Select All and Select None are enabled; with no rows, Back and Home
  // come to the front.
  virtual void ScanEnded(bool /*no_rows*/) {}
};

// Sets up the parser the way the scan uses it: charset "iso-8859-1", quoted-printable text,
// and progress events on, so the parser pumps the program's messages while it works.
void ConfigureMailMessage(mime::TMailMessage2000& mail);

// True when the lower-cased text holds "attachment", "filename" and "base64" somewhere.
bool HasAttachmentWords(std::string_view text);

// The gauge's share of a source read in place: its pass the first half, its found messages'
// rows the second. Finer than a folder file's, since the pass over a disk may take hours.
inline constexpr int kSourceGaugeUnits = 200;

struct ScanInput {
  const std::vector<FolderFile>& folders; // the first page's list; ticked entries are scanned
  std::string temp_dir;                   // ends with a separator; copy = temp_dir + name
  DateFormatter date_text;
  // Also look for messages by their data blocks: after each file's live and deleted rows come
  // rows for the messages only the deep scan finds. The gauge then counts 20 per file instead
  // of 10: live 0-5, deleted 5-10, the pass over the file 10-15, the found messages 15-20.
  // A source read in place (see FolderFile::source_path) is deep-scanned whatever this says,
  // and counts kSourceGaugeUnits: it holds no index or deleted chain of its own, and each folder
  // file found in it gives rows of a folder of its own (see FoundFolderName), in the order of
  // where they start, each folder's in source order.
  bool deep = false;
};

// Runs the scan into `list`, which is emptied first. Stops at the next check once
// StopRequested is set. A message the parser cannot fully read still gets its row, with what
// was read; an error of the reader ends the run (the rows found stay). StopRequested is set
// when the run ends.
void RunScan(const ScanInput& input, RecoveredList& list, ScanObserver& observer);

// The one-click deep scan of a folder file a normal scan said looks damaged: adds to `list`,
// after the rows it holds, a row for every message of that file's working copy that only the
// deep scan finds. The gauge counts 10: the pass over the file 0-5, the found messages 5-10.
// Stop, errors and the end steps as for RunScan.
void RunDeepScanOfFolder(const ScanInput& input, const std::string& folder_file_name,
                         RecoveredList& list, ScanObserver& observer);

} // namespace app
