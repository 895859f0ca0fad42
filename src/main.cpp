#include "cli/command_line.h"
#include "cli/headless.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

// The window is a program of its own: it alone loads the window's libraries, which a headless
// run does without. It lies beside this one in the build folder, in libexec once installed.
int openWindow(char* argv[]) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    fs::path window = folder / "korvel-window";
    if (!fs::exists(window, error))
        window = folder / ".." / "libexec" / "korvel" / "korvel-window";
    execv(window.c_str(), argv);
    std::cerr << "korvel: cannot start the window, " << window.lexically_normal().string() << ": "
              << std::strerror(errno) << "\n";
    return 1;
}

// The help or the version on standard output; a failed write (a full disk, a closed pipe) is
// said and fails the program.
int print(const std::string& text) {
    std::cout << text << std::flush;
    if (std::cout)
        return 0;
    std::cerr << "korvel: cannot write to standard output: " << std::strerror(errno) << "\n";
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    using Action = korvel::CommandLine::Action;
    korvel::CommandLine command = korvel::ParseCommandLine({argv + 1, argv + argc});
    switch (command.action) {
    case Action::Help:
        return print(korvel::UsageText());
    case Action::Version:
        return print(korvel::VersionText());
    case Action::Error:
        std::cerr << command.error << "\n";
        return 2;
    case Action::Window:
        return openWindow(argv);
    default:
        return korvel::RunHeadless(command, argc, argv);
    }
}
