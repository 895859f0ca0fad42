// What the command line asks of the program.
#pragma once

#include <string>
#include <vector>

namespace korvel {

struct CommandLine {
    enum class Action { Window, Help, Version, Error };
    Action action = Action::Window;
    std::string error; // one line, for Action::Error
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
std::string UsageText();
std::string VersionText();

} // namespace korvel
