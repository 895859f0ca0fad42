// Where "Korvel.ini" and the "Tracks" folder live: beside the program, or in the user's own
// folders when the program's folder cannot be written (an installed program).
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

// The folder whose "Tracks" holds the logs, tracks and recordings: the program's folder, or,
// when that cannot be written, dataFolder. There "Tracks" is made at the first start, with the
// samples installed with the program (../share/korvel/Tracks from its folder) in it.
std::string FindDataHome(const std::string& programFolder, const std::string& dataFolder);

// The user's data folder for Korvel: $XDG_DATA_HOME/korvel or ~/.local/share/korvel.
std::string UserDataFolder();

} // namespace korvel
