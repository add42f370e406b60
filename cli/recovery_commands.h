// The commands that run the recovery workflow: folders, scan and save.
#pragma once

#include "arguments.h"

#include <ostream>

namespace cli {

// Exit status of a command: 0 success, 1 recovery error, 130 stopped by Ctrl-C.
int RunRecoveryCommand(const Arguments& args, std::ostream& out, std::ostream& errors);

} // namespace cli
