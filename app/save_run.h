// The save run: every ticked row, in the list's current order, read whole from its working
// copy, or from the disk image or device it was found in, and written into the destination
// folder as a new .eml file, or into an mbox or a Maildir of its folder.
#pragma once

#include "message_writer.h"
#include "recovered_list.h"
#include "user_notifier.h"

#include <cstddef>
#include <string>

namespace app {

inline constexpr char kSavedMessage[] = "Selected E-mails successfully recovered.";

// How far a save run got: the rows ticked when it started and the messages it wrote.
struct SaveCount {
  std::size_t ticked = 0;
  std::size_t saved = 0;
  bool Complete() const { return saved == ticked; }
};

// What the user is told when a Stop or an error ends a save run early: "n of m e-mails saved".
std::string SaveCutShortText(const SaveCount& count);

// How the messages are stored: .eml files by default, or an mbox or a Maildir per folder file
// named after the folder's display name.
struct SaveOptions {
  SaveFormat format = SaveFormat::Eml;
  FolderDisplayNames folder_names;
};

// Returns true when every ticked row was written; then the success box has been shown. The
// run walks the rows ticked when it starts, in their order then, so nothing done to the list
// meanwhile changes what it writes. An .eml or Maildir file takes its own name only once
// complete, so an error or a Stop never leaves an empty or cut-off one; an mbox grows a whole
// message at a time. No existing file is replaced. Errors ("Cannot create file %s", "Cannot open
// file %s") end the run and propagate; what was written before stays, and `count` says how many
// messages there are. A run cut short shows nothing: the caller says so, after any error box.
// StopRequested is cleared for the run and set again at its end.
bool SaveEmails(const RecoveredList& list, const std::string& temp_dir,
                const std::string& save_path, UserNotifier& notifier, SaveCount& count,
                const SaveOptions& options = {});

} // namespace app
