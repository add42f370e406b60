// The save run: every ticked row, in the list's current order, read whole from its working
// copy and written as a new .eml file in the destination folder.
#pragma once

#include "recovered_list.h"
#include "user_notifier.h"

#include <string>

namespace app {

inline constexpr char kSavedMessage[] = "Selected E-mails successfully recovered.";

// Returns true when every ticked row was written; then the success box has been shown. A
// file is written under a temporary name and takes its own name only once complete, so an
// error or a Stop never leaves an empty or cut-off .eml, and no existing file is replaced.
// Errors ("Cannot create file %s", "Cannot open file %s") end the run and propagate; files
// written before stay. StopRequested is cleared for the run and set again at its end.
bool SaveEmails(const RecoveredList& list, const std::string& temp_dir,
                const std::string& save_path, UserNotifier& notifier);

} // namespace app
