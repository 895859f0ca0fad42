// Where "Korvel.ini" and the "Tracks" folder live: beside the program, or in the user's own
// folders when the program's folder cannot be written (an installed program).
#pragma once

#include <string>
#include <vector>

namespace korvel {

class ProfileFile;

struct SettingsLocation {
    std::string readPath;  // the file read at start, "" for none
    std::string writePath; // the file that saving replaces, "" when nothing may be saved
    std::string refused;   // why the user's folder is not used, "" when it is
};

// The settings read from where location says; the defaults when they cannot be read, and what
// the user is told about it in warnings.
ProfileFile ReadSettings(const SettingsLocation& location, std::vector<std::string>& warnings);

// The settings of a program run from its build folder lie beside it; those of an installed one
// in configFolder, for root as for every user. Until the first save there, settings that lie
// beside a read-only program still apply. Settings in a place another user owns or may write
// are not used: others could plant them.
SettingsLocation FindSettings(const std::string& programFolder, const std::string& configFolder);

// Makes the folder that saving writes into, private to the user, when it is not there yet: a
// run that saves nothing leaves none behind. "" or why it cannot be used.
std::string MakeSettingsFolder(const SettingsLocation& location);

// The samples installed with the program when it was installed (the command in <prefix>/bin,
// the window in <prefix>/libexec/korvel; the samples in <prefix>/share/korvel/Tracks), "" when
// it runs from the folder it was built in.
std::string InstalledSamples(const std::string& programFolder);

// Why path cannot be trusted as the user's own: "" when it and every folder above it belong to
// the user or to root and no one else may write them (a shared folder such as /tmp only with
// its sticky bit). Symbolic links are followed.
std::string WhyNotTheUsers(const std::string& path);

// The user's configuration folder for Korvel: $XDG_CONFIG_HOME/korvel or ~/.config/korvel,
// the home being the system's record of it when $HOME names none; "" without a home.
std::string UserConfigFolder();

// The folder whose "Tracks" holds the logs, tracks and recordings: the build folder the program
// runs from, or dataFolder for an installed program or one whose folder cannot be written.
// There "Tracks" is made at the first start, with the installed samples in it.
std::string FindDataHome(const std::string& programFolder, const std::string& dataFolder);

// The user's private folder for what lasts while programs run: $XDG_RUNTIME_DIR when it is the
// user's own, else /tmp/korvel-UID, made private to the user; "" (with why) when neither is.
std::string UserRuntimeFolder(std::string& why);

// The pseudo-terminal's link when the settings name none: korvel-gps0 in the user's runtime
// folder, where no other user can make it first. The folder is made when the link is.
std::string DefaultPtyLink();

// The user's data folder for Korvel: $XDG_DATA_HOME/korvel or ~/.local/share/korvel.
std::string UserDataFolder();

} // namespace korvel
