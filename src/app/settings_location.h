// Where "Korvel.ini" lives: beside the program, or in the user's configuration folder when the
// program's folder cannot be written.
#pragma once

#include <string>

namespace korvel {

struct SettingsLocation {
    std::string readPath;  // the file read at start
    std::string writePath; // the file that saving replaces
};

// configFolder is created when it is needed. Until the first save there, settings that lie
// beside a read-only program still apply.
SettingsLocation FindSettings(const std::string& programFolder, const std::string& configFolder);

// The user's configuration folder for Korvel: $XDG_CONFIG_HOME/korvel or ~/.config/korvel.
std::string UserConfigFolder();

} // namespace korvel
