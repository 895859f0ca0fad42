// What the command line asks of the program.
#pragma once

#include "output/sentence_faults.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

struct RunOptions {
    std::string port;                     // a port-list entry, a device path, "none", or "" (saved)
    std::vector<std::string> morePorts;   // further --port options: the same stream to each
    std::optional<int> baud;              // 4800 or 9600
    std::optional<int> tcpPort;           // the TCP server's port
    std::optional<int> maxClients;        // the most TCP clients served at once
    std::string bind;                     // the address it listens at, "" as the settings say
    std::string interval;                 // "x8" ... "8s", "max", or "" (1 s)
    std::optional<std::string> sentences; // the sentence boxes to check: "RMC,GGA,..."
    std::string talker = "GP";            // of the sentences Korvel builds
    int nmeaVersion = 0;                  // 23 or 41: the fields of those versions; 0: none
    bool loop = false, last = false, sameTimePos = false, autoSkip = false, autoReset = false;
    std::optional<double> lat, lon, alt; // manual position: signed degrees, metres
    std::optional<double> knots, course; // manual position moving: speed, degrees from north
    std::optional<double> speed;         // pace by the records' times, this many times faster
    bool now = false;                    // times and dates moved so that the first is now
    bool echo = false, quiet = false;
    bool force = false;                // a download may replace an existing file
    std::string ini;                   // the settings file to use
    std::string udp, ptyLink;          // "host:port" of the datagrams, the pseudo-terminal's link
    std::vector<std::string> connect;  // "host:port" of each program to connect to
    FaultRates faults;                 // faults put in on purpose
    std::optional<std::uint64_t> seed; // that puts the same faults in again
};

struct CommandLine {
    enum class Action { Window, Help, Version, Replay, Manual, Download, Error };
    Action action = Action::Window;
    std::string
        file; // the log or track to replay (in the window too), or the file to download into
    std::string error; // one line, for Action::Error
    RunOptions options;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
std::string UsageText();
std::string VersionText();

} // namespace korvel
