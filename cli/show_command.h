// `salvora show FILE.dbx DATA-OFFSET`: one message read before it is saved.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace cli {

// Finds the message whose text starts at `data_offset` among the file's live messages, then its
// deleted ones, then those only the deep scan finds, and writes its From, To, Cc, Subject and
// Date lines, one "Attachment:" line per attachment, "Content: text/html" when its text is HTML,
// an empty line and its text, all UTF-8. Returns the exit status: 0, or 1 when the file cannot
// be opened or no message starts at the offset (the reason goes to `errors`).
int RunShow(const std::string& file, std::int64_t data_offset, std::ostream& out,
            std::ostream& errors);

} // namespace cli
