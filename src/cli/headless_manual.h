// Manual mode without a window: the form runs it, its controls set as the user would set them.
#pragma once

#include "app/main_form.h"
#include "cli/command_line.h"

#include <optional>
#include <string>

namespace korvel {

// Sets the form's port to the entry chosen and its boxes as the options ask.
void ApplyManualOptions(MainForm& form, const std::string& port, const RunOptions& o);
// Starts manual mode as the user would, at the position and interval asked for; the exit
// status when it cannot start.
std::optional<int> StartManual(MainForm& form, const RunOptions& o);

} // namespace korvel
