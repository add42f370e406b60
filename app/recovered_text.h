// Reading a recovered message's text back from its working copy, the way its kind is stored.
#pragma once

#include "recovered_email.h"

#include <string>

namespace uoexpress {
class FolderFile;
}

namespace app {

// Sets `text` to the message's text: about the first 10 KB when `full_text` is false, the
// whole text when true. `temp_dir` ends with a separator; the copy is temp_dir + folder file.
// Throws the reader's EFOpenError when the working copy cannot be opened; a Stop leaves the
// text empty.
void ReadRecoveredText(const TEmailMessage& message, const std::string& temp_dir, std::string& text,
                       bool full_text);

// The same from the message's working copy held open for a run.
void ReadRecoveredText(const TEmailMessage& message, uoexpress::FolderFile& file, std::string& text,
                       bool full_text);

} // namespace app
