// Reading a recovered message's text back from its working copy, or from the disk image or
// device it was found in, the way its kind is stored.
#pragma once

#include "recovered_email.h"

#include <string>

namespace uoexpress {
class FolderFile;
}

namespace app {

// Where the message's text is read: its source when that is read in place, else its folder
// file's working copy, temp_dir + folder file (`temp_dir` ends with a separator).
std::string RecoveredTextPath(const TEmailMessage& message, const std::string& temp_dir);

// Sets `text` to the message's text, read from RecoveredTextPath: about the first 10 KB when
// `full_text` is false, the whole text when true.
// Throws the reader's EFOpenError when the file cannot be opened; a Stop leaves the text empty.
void ReadRecoveredText(const TEmailMessage& message, const std::string& temp_dir, std::string& text,
                       bool full_text);

// The same from the message's working copy or source held open for a run.
void ReadRecoveredText(const TEmailMessage& message, uoexpress::FolderFile& file, std::string& text,
                       bool full_text);

// The header a saved fragment of a message begins with: the deep scan found the message's text
// without its start, so without it a mail program would read the first lines found as a broken
// header. With it, the file is one plain-text message whose subject says where the fragment was
// found, and whose body is the text exactly as found.
std::string FragmentHeader(const TEmailMessage& message);

} // namespace app
