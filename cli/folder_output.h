// The store's folder files, as `salvora folders` prints them.
#pragma once

#include "app/folder_list.h"
#include "arguments.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// The table for people starts with the store's folder and marks the files ticked in advance
// with "*"; CSV and JSON give `file`, `name`, `path` and `ticked` for programs. Names are
// shown as UTF-8.
void WriteFolders(const std::string& store_root, const std::vector<app::FolderFile>& folders,
                  Format format, std::ostream& out);

} // namespace cli
