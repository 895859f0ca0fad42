#include "app/settings_location.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace korvel {

namespace fs = std::filesystem;

namespace {

bool writable(const std::string& folder) {
    // The effective user decides, as for the write itself.
    return faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
}

// $variable/korvel when it names an absolute folder, else ~/fallback/korvel.
std::string userFolder(const char* variable, const char* fallback) {
    const char* xdg = std::getenv(variable);
    if (xdg && *xdg == '/')
        return (fs::path(xdg) / "korvel").string();
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : "/tmp") / fallback / "korvel").string();
}

} // namespace

SettingsLocation FindSettings(const std::string& programFolder, const std::string& configFolder) {
    const std::string name = "Korvel.ini";
    std::string besideProgram = (fs::path(programFolder) / name).string();
    if (writable(programFolder))
        return {besideProgram, besideProgram};
    std::error_code ec;
    fs::create_directories(configFolder, ec);
    std::string inConfig = (fs::path(configFolder) / name).string();
    bool useConfig = fs::exists(inConfig, ec) || !fs::exists(besideProgram, ec);
    return {useConfig ? inConfig : besideProgram, inConfig};
}

std::string UserConfigFolder() {
    return userFolder("XDG_CONFIG_HOME", ".config");
}

std::string UserDataFolder() {
    return userFolder("XDG_DATA_HOME", ".local/share");
}

std::string FindDataHome(const std::string& programFolder, const std::string& dataFolder) {
    if (writable(programFolder))
        return programFolder;
    std::error_code ec;
    fs::path tracks = fs::path(dataFolder) / "Tracks";
    fs::path samples = fs::path(programFolder) / ".." / "share" / "korvel" / "Tracks";
    if (!fs::exists(tracks, ec) && fs::create_directories(tracks, ec))
        fs::copy(samples, tracks, fs::copy_options::recursive, ec);
    return dataFolder;
}

} // namespace korvel
