// korvel-window: the simulator with its window, which korvel starts when it is given no command
// (korvel [FILE]): the same command line, the window's libraries loaded only here.
#include "cli/command_line.h"
#include "files/readable_file.h"
#include "ui/window_app.h"

#include <cstdlib>
#include <iostream>

namespace {

bool haveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    korvel::CommandLine command = korvel::ParseCommandLine({argv + 1, argv + argc});
    if (command.action != korvel::CommandLine::Action::Window) {
        std::cerr << "korvel-window opens the window, on a file or none; the commands and "
                     "options are korvel's (see korvel --help)\n";
        return 2;
    }
    if (!haveDisplay()) {
        std::cerr << "korvel: no display to open the window on (set DISPLAY, or run a "
                     "command: see korvel --help)\n";
        return 1;
    }
    if (std::string why = command.file.empty() ? "" : korvel::WhyUnreadable(command.file);
        !why.empty()) {
        std::cerr << "korvel: cannot read " << command.file << ": " << why << "\n";
        return 1;
    }
    return korvel::RunWindow(argc, argv, command.file);
}
