#include "cli/command_line.h"
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
    using korvel::CommandLine;
    CommandLine command = korvel::ParseCommandLine({argv + 1, argv + argc});
    switch (command.action) {
    case CommandLine::Action::Help:
        std::cout << korvel::UsageText();
        return 0;
    case CommandLine::Action::Version:
        std::cout << korvel::VersionText();
        return 0;
    case CommandLine::Action::Error:
        std::cerr << command.error << "\n";
        return 2;
    case CommandLine::Action::Window:
        break;
    }
    if (!haveDisplay()) {
        std::cerr << "korvel: no display to open the window on (set DISPLAY or WAYLAND_DISPLAY)\n";
        return 1;
    }
    return korvel::RunWindow(argc, argv);
}
