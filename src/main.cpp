#include "cli/command_line.h"
#include "cli/headless.h"
#include "ui/window_app.h"

#include <cstdlib>
#include <filesystem>
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
    using Action = korvel::CommandLine::Action;
    korvel::CommandLine command = korvel::ParseCommandLine({argv + 1, argv + argc});
    switch (command.action) {
    case Action::Help:
        std::cout << korvel::UsageText();
        return 0;
    case Action::Version:
        std::cout << korvel::VersionText();
        return 0;
    case Action::Error:
        std::cerr << command.error << "\n";
        return 2;
    case Action::Window:
        if (!haveDisplay()) {
            std::cerr << "korvel: no display to open the window on (set DISPLAY, or run a "
                         "command: see korvel --help)\n";
            return 1;
        }
        if (!command.file.empty() && !std::filesystem::is_regular_file(command.file)) {
            std::cerr << "korvel: cannot read " << command.file << "\n";
            return 1;
        }
        return korvel::RunWindow(argc, argv, command.file);
    default:
        return korvel::RunHeadless(command, argc, argv);
    }
}
