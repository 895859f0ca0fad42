// The simulator without a window: the same form, driven from the command line.
#pragma once

#include "cli/command_line.h"

namespace korvel {

// Runs command and returns the program's exit status.
int RunHeadless(const CommandLine& command, int argc, char* argv[]);

} // namespace korvel
