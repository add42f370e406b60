// `salvora dump`: one line per message of each folder file or disk image, in listing order, with
// the length and SHA-256 of the text the reader gives.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

struct DumpOptions {
  bool preview = false; // the scan's preview reads instead of the save's full reads
  bool deep = false;    // add the messages only the deep scan finds
  std::vector<std::string> files;
};

// Writes "== FILE" and then one line per message:
//   <live|deleted> <info-offset> <data-offset> <attr-0x91> <text-length> <sha256>
// and with `deep`, after those, one per message only the deep scan finds:
//   found 0 <data-offset> 0 <text-length> <sha256>
// where the data offset is the place of the first block in the file. A disk image or device
// (any name but *.dbx) has only found lines. A file that cannot be opened is reported on `errors`;
// returns false if any could not.
bool RunDump(const DumpOptions& options, std::ostream& out, std::ostream& errors);

} // namespace cli
