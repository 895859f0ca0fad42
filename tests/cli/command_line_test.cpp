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
        {{"replay", "--loop", "a.log"}, Action::Replay, "a.log"},
        {{"replay", "--", "-a.log"}, Action::Replay, "-a.log"},
        {{"--", "replay"}, Action::Window, "replay"}, // a file of that name
        {{"replay", "--", "a.log", "b.log"}, Action::Error, ""},
        {{"replay", "--port=TCP", "a.log", "--interval=max"}, Action::Replay, "a.log"},
        {{"replay", "a.log", "--", "--help"}, Action::Error, ""}, // a second file
        {{"reply", "a.log"}, Action::Error, ""},
        {{"replay", "a.log", "--udp", "192.0.2.1"}, Action::Error, ""},
        {{"replay", "a.log", "--udp", "::1"}, Action::Error, ""},
        {{"replay", "a.log", "--udp", "[::1]:10110"}, Action::Replay, "a.log"},
        {{"replay", "a.log", "--udp=host:"}, Action::Error, ""},
        {{"manual", "--alt", "-500"}, Action::Manual, ""}, // a shore below the sea
        {{"replay", "a.log", "--interval", "0.2"}, Action::Replay, "a.log"},
        {{"manual", "--interval=3600"}, Action::Manual, ""},
        {{"manual", "--interval", "0.04"}, Action::Error, ""},
        {{"manual", "--interval", "3601"}, Action::Error, ""},
        {{"manual", "--interval", "-1"}, Action::Error, ""},
        {{"manual", "--alt", "9000"}, Action::Manual, ""},
        {{"manual", "--alt", "-501"}, Action::Error, ""},
        {{"manual", "--alt", "9001"}, Action::Error, ""},
        {{"manual", "--knots", "1000", "--course", "359.9"}, Action::Manual, ""},
        {{"manual", "--knots", "1000.1"}, Action::Error, ""},
        {{"manual", "--course", "360"}, Action::Error, ""},
        {{"replay", "a.log", "--knots", "5"}, Action::Error, ""}, // a log moves as recorded
        {{"replay", "a.log", "--talker", "BD"}, Action::Replay, "a.log"},
        {{"manual", "--talker", "GPS"}, Action::Error, ""},
        {{"replay", "a.log", "--connect", "h:10110", "--connect=[::1]:1"}, Action::Replay, "a.log"},
        {{"manual", "--connect", "localhost"}, Action::Error, ""}, // a port is never guessed
        {{"download", "walk", "--connect", "h:1"}, Action::Error, ""},
        {{"manual", "--outage", "60+30", "--outage=0+0.5", "--freeze", "5+2"}, Action::Manual, ""},
        {{"manual", "--outage", "60"}, Action::Error, ""},
        {{"manual", "--freeze", "-5+2"}, Action::Error, ""},
        {{"manual", "--freeze", "5+0"}, Action::Error, ""},
        {{"replay", "a.log", "--jitter", "2.5"}, Action::Replay, "a.log"},
        {{"replay", "a.log", "--jitter", "0"}, Action::Error, ""},
        {{"manual", "--nmea", "4.1", "--sentences", "RMC,GSV,GLL,ZDA,GNS"}, Action::Manual, ""},
        {{"manual", "--nmea", "3.0"}, Action::Error, ""},
        {{"manual", "--sentences", "RMC,GST"}, Action::Error, ""},
    };
    for (const Case& c : cases) {
        CommandLine parsed = ParseCommandLine(c.arguments);
        EXPECT_EQ(parsed.action, c.action) << testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.file, c.file) << testing::PrintToString(c.arguments);
    }
    std::string error = ParseCommandLine({"--bogus"}).error;
    EXPECT_NE(error.find("--bogus"), std::string::npos);
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(ParseCommandLine({"reply", "a.log"}).error,
              "korvel: unknown command 'reply' (try 'korvel --help')");
    CommandLine assigned = ParseCommandLine({"manual", "--port=TCP", "--lat=-33.9", "--udp=a:1"});
    EXPECT_EQ(assigned.options.port, "TCP");
    EXPECT_EQ(assigned.options.lat, -33.9);
    EXPECT_EQ(assigned.options.udp, "a:1");
}
