#include "app/settings_location.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace korvel {

namespace fs = std::filesystem;

SettingsLocation FindSettings(const std::string& programFolder, const std::string& configFolder) {
    const std::string name = "Korvel.ini";
    std::string besideProgram = (fs::path(programFolder) / name).string();
    // The effective user decides, as for the write itself.
    if (faccessat(AT_FDCWD, programFolder.c_str(), W_OK, AT_EACCESS) == 0)
        return {besideProgram, besideProgram};
    std::error_code ec;
    fs::create_directories(configFolder, ec);
    std::string inConfig = (fs::path(configFolder) / name).string();
    bool useConfig = fs::exists(inConfig, ec) || !fs::exists(besideProgram, ec);
    return {useConfig ? inConfig : besideProgram, inConfig};
}

std::string UserConfigFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return (fs::path(xdg) / "korvel").string();
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : "/tmp") / ".config" / "korvel").string();
}

} // namespace korvel
