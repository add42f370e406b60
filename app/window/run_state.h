// What the main window is doing. A run (the copy step, a scan, a save, reading a message for
// the message view) works inside a click
// handler and pumps, so other handlers run while it is active; the window derives from its
// run state which controls may be used meanwhile.
#pragma once

namespace window {

enum class RunState {
  Idle,
  Copying,  // the ticked folder files are being copied to the temporary folder
  Scanning, // rows are being added to the result list; a deep scan is one more of these
  Saving,   // the ticked rows are being written
  Reading,  // one row's message is being read from its working copy for the message view
  // Stop or the close button asked the run to end; it does so at its next check.
  WindingDown,
};

} // namespace window
