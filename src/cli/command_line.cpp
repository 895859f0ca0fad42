#include "cli/command_line.h"

namespace korvel {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h")
            return {CommandLine::Action::Help, ""};
        if (argument == "--version")
            result.action = CommandLine::Action::Version;
        else
            return {CommandLine::Action::Error,
                    "korvel: unknown option '" + argument + "' (try korvel --help)"};
    }
    return result;
}

std::string UsageText() {
    return "Usage: korvel [--help] [--version]\n"
           "NMEA 0183 GPS simulator: replays recorded logs and tracks, or streams a position\n"
           "set by hand, to a serial port, a printer port or TCP clients.\n"
           "\n"
           "  --help     show this text and exit\n"
           "  --version  show the version and exit\n"
           "\n"
           "Without options the window opens; it needs a display (DISPLAY or WAYLAND_DISPLAY).\n";
}

std::string VersionText() {
    return std::string("korvel ") + KORVEL_VERSION + "\n";
}

} // namespace korvel
