#include "cli/command_line.h"
#include "cli/headless.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

// The window is the program beside this one: it alone loads the window's libraries, which a
// headless run does without.
int openWindow(char* argv[]) {
    std::error_code error;
    std::filesystem::path window =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "korvel-window";
    execv(window.c_str(), argv);
    std::cerr << "korvel: cannot start the window, " << window.string() << ": "
              << std::strerror(errno) << "\n";
    return 1;
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
        return openWindow(argv);
    default:
        return korvel::RunHeadless(command, argc, argv);
    }
}
