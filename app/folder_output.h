// What the mbox and Maildir writers share: the name a folder file's output takes.
#pragma once

#include "message_writer.h"

#include <string>

namespace app {

// A safe file name from the folder file's display name, or from its file name without
// ".dbx" when it has none; 8-bit names are shown as UTF-8 (see DisplayText).
std::string FolderOutputName(const FolderDisplayNames& names, const std::string& folder_file);

} // namespace app
