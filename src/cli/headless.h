// The simulator without a window: replay, manual mode and download drive the engine, the
// outputs, the manual stream and the download directly, and say what came of them.
#pragma once

#include "cli/command_line.h"

namespace korvel {

// Runs command and returns the program's exit status.
int RunHeadless(const CommandLine& command, int argc, char* argv[]);

} // namespace korvel
