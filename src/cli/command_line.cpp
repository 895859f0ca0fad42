#include "cli/command_line.h"

namespace korvel {

namespace {

CommandLine failure(const std::string& what) {
    return {CommandLine::Action::Error, "", "korvel: " + what + " (try korvel --help)"};
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    using Action = CommandLine::Action;
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h")
            return {Action::Help, "", ""};
    CommandLine result;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--version") {
            result.action = Action::Version;
            continue;
        }
        if (argument.starts_with("-"))
            return failure("unknown option '" + argument + "'");
        if (i != 0)
            return failure("unexpected argument '" + argument + "'");
        if (argument == "manual") {
            result.action = Action::Manual;
            continue;
        }
        if (argument != "replay" && argument != "download")
            return failure("unknown command '" + argument + "'");
        if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("-"))
            return failure(argument + " needs a FILE");
        result.action = argument == "replay" ? Action::Replay : Action::Download;
        result.file = arguments[++i];
    }
    return result;
}

std::string UsageText() {
    return "Usage: korvel [COMMAND] [--help] [--version]\n"
           "NMEA 0183 GPS simulator: replays recorded logs and tracks, or streams a position\n"
           "set by hand, to a serial port, a printer port or TCP clients.\n"
           "\n"
           "Without a command the window opens; it needs a display (DISPLAY or\n"
           "WAYLAND_DISPLAY). A command runs the same simulator without a window, with the\n"
           "settings of Korvel.ini:\n"
           "\n"
           "  replay FILE     replay a recorded NMEA log or a track file\n"
           "  manual          stream the saved manual position once a second\n"
           "  download FILE   download a Garmin receiver's track log into FILE\n"
           "\n"
           "  --help          show this text and exit\n"
           "  --version       show the version and exit\n";
}

std::string VersionText() {
    return std::string("korvel ") + KORVEL_VERSION + "\n";
}

} // namespace korvel
