// What the package manager knows about an installed file: the version of the Debian
// package that owns it.
#pragma once

#include <string>

namespace platform {

// The version of the installed package that lists `file` (as given, or with its links
// resolved), looked up among the packages named like the file; "" when none is found.
// `dpkg_folder` is the package database (/var/lib/dpkg).
std::string OwningPackageVersion(const std::string& file,
                                 const std::string& dpkg_folder = "/var/lib/dpkg");

// A Debian version reduced to at most four numbers joined by ".": the epoch and the Debian
// revision dropped, each part's leading digits kept, missing parts 0 ("2:1.35-1" gives
// "1.35.0.0"); "" when it does not start with a number.
std::string FourNumberVersion(const std::string& debian_version);

} // namespace platform
