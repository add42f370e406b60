// Starting other programs: the desktop's handler for a document or address, and programs
// by path, either left to run on their own or kept as children that can be ended.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct StartResult {
  bool started = false;
  // Why it did not start, as a Windows system error code (2 "file not found", 5 "access
  // denied", ...), so that users see the same words everywhere; 0 when it started.
  unsigned long error = 0;
  // The child's process id, for programs started as children; 0 otherwise.
  long process = 0;
};

// Opens a document, folder or address (http://, mailto:) with the desktop's handler
// (xdg-open). The whole text is handed over unchanged, as one argument.
StartResult OpenDocument(const std::string& target);

// Starts `program` with `arguments` and leaves it running on its own. A program without a
// "/" is looked up on PATH.
StartResult StartDetached(const std::string& program, const std::vector<std::string>& arguments);

// Starts `program` as a child of this process, to be ended with EndChild or collected with
// ChildRunning.
StartResult StartChild(const std::string& program, const std::vector<std::string>& arguments);

// Whether a child is still running; collects one that has ended.
bool ChildRunning(long process);

// Asks a child to end, and collects it.
void EndChild(long process);

// The full path of an executable file named `name` on PATH, or `name` itself when it holds
// a "/" and is executable; empty when there is none.
std::string FindProgram(const std::string& name);

// The Windows system error code that stands for an errno value.
unsigned long SystemErrorFromErrno(int error);

} // namespace platform
