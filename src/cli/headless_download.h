// "korvel download FILE": a Garmin receiver's track log into FILE, without a window.
#pragma once

#include "cli/command_line.h"

#include <atomic>

namespace korvel {

class Clock;
class SerialPort;

// Downloads over port (COMn of options.port, or savedPort, 0-based, when none is named) and
// returns the program's exit status; stop asks it to end, leaving no partial file.
int RunDownload(SerialPort& port, Clock& clock, int savedPort, const RunOptions& options,
                const std::string& file, const std::atomic<bool>& stop);

} // namespace korvel
