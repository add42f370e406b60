// File operations of the workflow: folder listing, private copies, deletion, folders.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct DirectoryEntry {
  std::string name;
  bool is_file = false; // a regular file, or a link to one
};

// The entries of a folder ("." and ".." left out), sorted by name without regard to letter
// case, the order Windows shows and users expect; empty when the folder cannot be read.
std::vector<DirectoryEntry> ListDirectory(const std::string& folder);

// Copies a regular file, replacing `to`. The copy is readable by the user only (0600), and a
// copy that fails part way is removed rather than left behind. False on any failure, and
// when either file is held by the reader (OpenExclusiveForReading): a held target is left
// untouched.
bool CopyFileReplacing(const std::string& from, const std::string& to);

// False when the file could not be removed.
bool RemoveFile(const std::string& path);

bool DirectoryExists(const std::string& path);

// Creates one folder; false when it cannot be made (an existing folder included).
bool MakeDirectory(const std::string& path);

} // namespace platform
