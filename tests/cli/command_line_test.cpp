#include "cli/command_line.h"

#include <gtest/gtest.h>

using namespace korvel;
using Action = CommandLine::Action;

TEST(CommandLine, Options) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
    } cases[] = {
        {{}, Action::Window},
        {{"--help"}, Action::Help},
        {{"-h"}, Action::Help},
        {{"--version"}, Action::Version},
        {{"--version", "--help"}, Action::Help},
        {{"--version", "--bogus"}, Action::Error},
        {{"file.log"}, Action::Error},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCommandLine(c.arguments).action, c.action);
    std::string error = ParseCommandLine({"--bogus"}).error;
    EXPECT_NE(error.find("--bogus"), std::string::npos);
    EXPECT_EQ(error.find('\n'), std::string::npos);
}
