// What the command line asks of the program.
#pragma once

#include <string>
#include <vector>

namespace korvel {

struct CommandLine {
    enum class Action { Window, Help, Version, Replay, Manual, Download, Error };
    Action action = Action::Window;
    std::string file;  // the log or track to replay, or the track file to download into
    std::string error; // one line, for Action::Error
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
std::string UsageText();
std::string VersionText();

} // namespace korvel
