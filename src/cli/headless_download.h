// "korvel download FILE": a Garmin receiver's track log into FILE, without a window.
#pragma once

#include "app/main_form.h"
#include "cli/command_line.h"
#include "cli/console_dialogs.h"

#include <atomic>

namespace korvel {

// Runs the download on the form, whose questions dialogs answers, and returns the program's
// exit status; stop asks it to end, leaving no partial file.
int RunDownload(MainForm& form, ConsoleDialogs& dialogs, const RunOptions& options,
                const std::string& file, const std::atomic<bool>& stop);

} // namespace korvel
