#include "cli/command_line.h"

#include <gtest/gtest.h>

using namespace korvel;
using Action = CommandLine::Action;

TEST(CommandLine, CommandsAndOptions) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string file;
    } cases[] = {
        {{}, Action::Window, ""},
        {{"-h"}, Action::Help, ""},
        {{"--version", "--help"}, Action::Help, ""},
        {{"replay"}, Action::Error, ""},
        {{"replay", "--help"}, Action::Help, ""},
        {{"download", "--bogus"}, Action::Error, ""},
        {{"manual", "extra"}, Action::Error, ""},
        {{"--version", "--bogus"}, Action::Error, ""},
        {{"file.log"}, Action::Window, "file.log"},
        {{"file.log", "other.log"}, Action::Error, ""},
        {{"file.log", "manual"}, Action::Error, ""},
        {{"replay", "a.log", "--speed", "0.1", "--now"}, Action::Replay, "a.log"},
        {{"replay", "a.log", "--speed", "1001"}, Action::Error, ""},
        {{"replay", "a.log", "--speed", "2", "--interval", "max"}, Action::Error, ""},
        {{"manual", "--now"}, Action::Error, ""},
        {{"replay", "-", "--speed", "2"}, Action::Replay, "-"}, // standard input
        {{"replay", "-", "--loop"}, Action::Error, ""},
        {{"download", "-"}, Action::Error, ""},
    };
    for (const Case& c : cases) {
        CommandLine parsed = ParseCommandLine(c.arguments);
        EXPECT_EQ(parsed.action, c.action) << testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.file, c.file) << testing::PrintToString(c.arguments);
    }
    std::string error = ParseCommandLine({"--bogus"}).error;
    EXPECT_NE(error.find("--bogus"), std::string::npos);
    EXPECT_EQ(error.find('\n'), std::string::npos);
}
