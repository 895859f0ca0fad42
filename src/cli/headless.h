// The simulator without a window: a replay and a download drive the engine, the outputs and the
// download directly; manual mode is still the form's, driven from the command line.
#pragma once

#include "cli/command_line.h"

namespace korvel {

// Runs command and returns the program's exit status.
int RunHeadless(const CommandLine& command, int argc, char* argv[]);

} // namespace korvel
