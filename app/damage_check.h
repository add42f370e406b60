// Telling, after a normal scan of a folder file, whether the file looks damaged, so that the
// user can be offered a deep scan of it.
#pragma once

#include "store/uoexpress.h"

#include <cstddef>

namespace app {

// True when the header was overwritten (the signature is gone from a file large enough to hold
// messages), when the index gave fewer messages than the header declares or its root fails its
// test, or when the header declares no messages although the index root names some.
bool FolderLooksDamaged(const uoexpress::Toe5_FileState& state, std::size_t live_listed);

} // namespace app
