// Exclusive read-only opening of store files: while the reader holds a folder file, no other
// reader or copier of ours interleaves with it.
#pragma once

#include "random_access_file.h"

namespace platform {

// Opens a regular file read-only and takes an exclusive lock on it (advisory on Linux,
// a share-nothing open on Windows). Returns nullptr when the file cannot be opened or is
// held by someone else. Reads go through a read-ahead window, since block chains mostly
// run forward.
std::unique_ptr<RandomAccessFile> OpenExclusiveForReading(const std::string& path);

} // namespace platform
