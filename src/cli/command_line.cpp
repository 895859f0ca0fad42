#include "cli/command_line.h"

#include "cli/run_choices.h"
#include "output/outputs.h"
#include "text/conversions.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace korvel {

namespace {

CommandLine failure(const std::string& what) {
    return {CommandLine::Action::Error, "", "korvel: " + what + " (try 'korvel --help')", {}};
}

// --option=value as two arguments; after "--" every argument is a file name, even one that
// starts with a dash, and stays behind the "--".
std::vector<std::string> splitAssignments(const std::vector<std::string>& arguments) {
    std::vector<std::string> split;
    bool names = false;
    for (const std::string& argument : arguments) {
        size_t equals = argument.find('=');
        if (!names && argument.starts_with("--") && equals != std::string::npos) {
            split.push_back(argument.substr(0, equals));
            split.push_back(argument.substr(equals + 1));
            continue;
        }
        names = names || argument == "--";
        split.push_back(argument);
    }
    return split;
}

// HOST:PORT or [ADDRESS]:PORT: the datagrams' port is never guessed.
bool namesAPort(const std::string& hostAndPort) {
    size_t colon = hostAndPort.rfind(':');
    if (colon == std::string::npos || colon + 1 == hostAndPort.size() ||
        hostAndPort.find_first_not_of("0123456789", colon + 1) != std::string::npos)
        return false;
    return hostAndPort.starts_with("[") ? hostAndPort[colon - 1] == ']'
                                        : hostAndPort.find(':') == colon;
}

// A word that is no command and names no file: a mistyped command rather than a file the
// window should open.
bool mistypedCommand(const std::string& word) {
    std::error_code ec;
    return word.find_first_of("./") == std::string::npos && !std::filesystem::exists(word, ec);
}

bool isNumber(const std::string& text) {
    return text.find_first_of("0123456789") != std::string::npos &&
           text.find_first_not_of("+-.0123456789") == std::string::npos;
}

// START+SECONDS: from START seconds into the stream, for SECONDS (more than 0).
std::optional<Stretch> stretchOf(const std::string& text) {
    size_t plus = text.find('+');
    if (plus == std::string::npos || plus == 0)
        return std::nullopt;
    std::string start = text.substr(0, plus), seconds = text.substr(plus + 1);
    if (!isNumber(start) || !isNumber(seconds) || start.find_first_of("+-") != std::string::npos ||
        seconds.find_first_of("+-") != std::string::npos || Val(seconds) <= 0)
        return std::nullopt;
    return Stretch{Val(start), Val(seconds)};
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& given) {
    using Action = CommandLine::Action;
    std::vector<std::string> arguments = splitAssignments(given);
    for (const std::string& argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h")
            return {Action::Help, "", "", {}};
    }
    CommandLine result;
    RunOptions& o = result.options;
    static const std::set<std::string> intervals = {"x8", "x4", "x2", "cont", "1s",
                                                    "2s", "4s", "8s", "max"};
    // GPS, any constellations together, GLONASS, Galileo and BeiDou (by both its names).
    static const std::set<std::string> talkers = {"GP", "GN", "GL", "GA", "GB", "BD"};
    static const std::set<std::string> boxes(std::begin(kSentenceNames), std::end(kSentenceNames));
    bool commandGiven = false, onlyNames = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!onlyNames && argument == "--") {
            onlyNames = true;
            continue;
        }
        if (onlyNames || argument == "-" || !argument.starts_with("-")) {
            if (!result.file.empty())
                return failure("unexpected argument '" + argument + "'");
            if (!onlyNames && !commandGiven && result.action == Action::Window &&
                (argument == "manual" || argument == "replay" || argument == "download")) {
                result.action = argument == "manual"   ? Action::Manual
                                : argument == "replay" ? Action::Replay
                                                       : Action::Download;
                commandGiven = true;
            } else if (result.action == Action::Manual) {
                return failure("unexpected argument '" + argument + "'");
            } else if (!commandGiven && !onlyNames && mistypedCommand(argument)) {
                return failure("unknown command '" + argument + "'");
            } else {
                result.file = argument; // the window opens it, or the command's file
            }
            continue;
        }
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        auto number = [&](double& into) {
            std::optional<std::string> v = value();
            if (!v || !isNumber(*v))
                return false;
            into = Val(*v);
            return true;
        };
        if (argument == "--version") {
            result.action = Action::Version;
        } else if (argument == "--port" || argument == "--interval" || argument == "--sentences" ||
                   argument == "--ini" || argument == "--udp" || argument == "--pty-link" ||
                   argument == "--bind" || argument == "--talker" || argument == "--connect") {
            std::optional<std::string> v = value();
            if (!v)
                return failure(argument + " needs a value");
            if (argument == "--port")
                (o.port.empty() ? o.port : o.morePorts.emplace_back()) = *v;
            else if (argument == "--ini")
                o.ini = *v;
            else if (argument == "--udp" && !namesAPort(*v))
                return failure("--udp takes HOST:PORT or [ADDRESS]:PORT, not '" + *v + "'");
            else if (argument == "--udp")
                o.udp = *v;
            else if (argument == "--connect" && !namesAPort(*v))
                return failure("--connect takes HOST:PORT or [ADDRESS]:PORT, not '" + *v + "'");
            else if (argument == "--connect")
                o.connect.push_back(*v);
            else if (argument == "--pty-link")
                o.ptyLink = *v;
            else if (argument == "--bind")
                o.bind = *v;
            else if (argument == "--talker" && !talkers.count(*v))
                return failure("--talker takes GP, GN, GL, GA, GB or BD");
            else if (argument == "--talker")
                o.talker = *v;
            else if (argument == "--interval") {
                if (!intervals.count(*v) && !IntervalSeconds(*v))
                    return failure("--interval takes x8, x4, x2, cont, 1s, 2s, 4s, 8s, max or "
                                   "SECONDS from 0.05 to 3600");
                o.interval = *v;
            } else {
                for (const std::string& box : SplitFields(*v))
                    if (!boxes.count(box))
                        return failure(
                            "--sentences takes RMC,GGA,VTG,RMB,GSA,GSV,OTH,GLL,ZDA,GNS, not '" +
                            box + "'");
                o.sentences = *v;
            }
        } else if (argument == "--max-clients") {
            double n = 0;
            if (!number(n) || n < 1 || n > kMostTcpClients || n != Int(n))
                return failure("--max-clients takes a number from 1 to " +
                               std::to_string(kMostTcpClients));
            o.maxClients = static_cast<int>(n);
        } else if (argument == "--baud" || argument == "--tcp-port") {
            double n = 0;
            if (!number(n))
                return failure(argument + " needs a number");
            if (argument == "--baud") {
                if (std::none_of(std::begin(kBaudRates), std::end(kBaudRates),
                                 [n](const char* rate) { return Val(rate) == n; }))
                    return failure(
                        "--baud takes 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200");
                o.baud = static_cast<int>(n);
            } else {
                if (n < 1 || n > 65535 || n != Int(n))
                    return failure("--tcp-port takes a port from 1 to 65535");
                o.tcpPort = static_cast<int>(n);
            }
        } else if (argument == "--drop" || argument == "--corrupt" || argument == "--cut" ||
                   argument == "--garble") {
            double n = 0;
            if (!number(n) || n < 0 || n > 1)
                return failure(argument + " takes a fraction of the sentences, 0 to 1");
            FaultRates& f = o.faults;
            (argument == "--drop"      ? f.drop
             : argument == "--corrupt" ? f.corrupt
             : argument == "--cut"     ? f.cut
                                       : f.garble) = n;
        } else if (argument == "--outage" || argument == "--freeze") {
            std::optional<std::string> v = value();
            std::optional<Stretch> stretch = v ? stretchOf(*v) : std::nullopt;
            if (!stretch)
                return failure(argument + " takes START+SECONDS of the stream, as 60+30");
            (argument == "--outage" ? o.faults.fix.outages : o.faults.fix.freezes)
                .push_back(*stretch);
        } else if (argument == "--jitter") {
            double n = 0;
            if (!number(n) || n <= 0 || n > 10000)
                return failure("--jitter takes metres, more than 0 up to 10000");
            o.faults.fix.jitterMetres = n;
        } else if (argument == "--nmea") {
            std::optional<std::string> v = value();
            if (!v || (*v != "2.3" && *v != "4.1"))
                return failure("--nmea takes 2.3 or 4.1");
            o.nmeaVersion = *v == "2.3" ? 23 : 41;
        } else if (argument == "--seed") {
            double n = 0;
            if (!number(n) || n < 0 || n > 9e15 || n != Int(n))
                return failure("--seed takes a whole number, 0 or more");
            o.seed = static_cast<std::uint64_t>(n);
        } else if (argument == "--speed") {
            double n = 0;
            if (!number(n) || n < 0.1 || n > 1000)
                return failure("--speed takes a number from 0.1 to 1000 (1: real time)");
            o.speed = n;
        } else if (argument == "--lat" || argument == "--lon" || argument == "--alt") {
            double n = 0;
            if (!number(n))
                return failure(argument + " needs a number");
            // Heights from the Dead Sea's shore to above the highest peaks; the window's bar
            // keeps the range of its own.
            double limit = argument == "--lat" ? 89.99 : argument == "--lon" ? 179.99 : 9000;
            double lowest = argument == "--alt" ? -500 : -limit;
            if (n > limit || n < lowest)
                return failure(argument + " takes " + Plain(lowest) + " to " + Plain(limit));
            (argument == "--lat" ? o.lat : argument == "--lon" ? o.lon : o.alt) = n;
        } else if (argument == "--knots" || argument == "--course") {
            double n = 0;
            bool knots = argument == "--knots";
            if (!number(n) || n < 0 || (knots ? n > 1000 : n >= 360))
                return failure(knots ? "--knots takes 0 to 1000" : "--course takes 0 to 359.9");
            (knots ? o.knots : o.course) = n;
        } else if (argument == "--loop" || argument == "--last" || argument == "--same-time-pos" ||
                   argument == "--autoskip" || argument == "--autoreset" || argument == "--echo" ||
                   argument == "--quiet" || argument == "--force" || argument == "--now") {
            bool* flags[] = {&o.loop, &o.last,  &o.sameTimePos, &o.autoSkip, &o.autoReset,
                             &o.echo, &o.quiet, &o.force,       &o.now};
            const char* names[] = {"--loop",     "--last",      "--same-time-pos",
                                   "--autoskip", "--autoreset", "--echo",
                                   "--quiet",    "--force",     "--now"};
            for (size_t f = 0; f < std::size(flags); ++f)
                if (argument == names[f])
                    *flags[f] = true;
        } else {
            return failure("unknown option '" + argument + "'");
        }
    }
    if ((result.action == Action::Replay || result.action == Action::Download) &&
        result.file.empty())
        return failure(std::string(result.action == Action::Replay ? "replay" : "download") +
                       " needs a FILE");
    if (result.file == "-" && result.action != Action::Replay)
        return failure("only replay reads standard input ('-'); ./- names a file called -");
    if ((o.speed || o.now) && result.action != Action::Replay)
        return failure(std::string(o.speed ? "--speed" : "--now") + " is for replay");
    if ((o.knots || o.course) && result.action != Action::Manual)
        return failure(std::string(o.knots ? "--knots" : "--course") + " is for manual");
    if (!o.connect.empty() && result.action != Action::Replay && result.action != Action::Manual)
        return failure("--connect is for replay and manual");
    if (result.file == "-" && (o.loop || o.last || o.autoSkip))
        return failure("a log on standard input plays once, as it comes: --loop, --last and "
                       "--autoskip need a file");
    if (o.speed && o.interval == "max")
        return failure("--speed paces by the records' times; --interval max does not pace");
    return result;
}

std::string UsageText() {
    return "Usage: korvel [FILE | COMMAND [FILE] [OPTIONS]] [--help] [--version]\n"
           "NMEA 0183 GPS simulator: replays recorded logs and tracks, or streams a position\n"
           "set by hand, to a serial port, a printer port, TCP clients, a pseudo-terminal or\n"
           "UDP.\n"
           "\n"
           "Without a command the window opens; it needs a display (DISPLAY or\n"
           "WAYLAND_DISPLAY). \"korvel FILE\" opens it in FILE's folder and replays FILE as a\n"
           "click in its file list would. A command runs the same simulator without a window,\n"
           "with the settings of Korvel.ini unless options say otherwise. An option's value\n"
           "may follow an equals sign (--port=TCP); after -- every argument is a file name,\n"
           "one that starts with a dash too:\n"
           "\n"
           "  replay FILE     replay FILE, an NMEA log or a track (GPX, KML, OziExplorer .plt,\n"
           "                  PCX5, the .trk files of Korvel and others), until its end;\n"
           "                  FILE - reads an NMEA log from standard input as it arrives and\n"
           "                  plays it once, each record once it has come (a track there\n"
           "                  plays once it has come whole)\n"
           "  manual          stream the manual position (the saved one, or --lat/--lon/--alt)\n"
           "  download FILE   download a Garmin receiver's track log into FILE\n"
           "\n"
           "Where the sentences go:\n"
           "  --port NAME       COM1..COM16, Port1..Port4, LPT1..LPT3, TCP, PTY or UDP; or a\n"
           "                    device path such as /dev/ttyUSB0, taken as a serial port; or none\n"
           "                    (default: the port saved in Korvel.ini, else TCP). Given more\n"
           "                    than once, each port gets the same stream (one serial port\n"
           "                    among them): one that cannot be opened fails the run, one that\n"
           "                    fails later is said and the others go on\n"
           "  --baud RATE       the serial port's rate: 1200, 2400, 4800 (the default), 9600,\n"
           "                    19200, 38400, 57600 or 115200 baud, 8 data bits, no parity\n"
           "  --tcp-port N      the TCP server's port, 1 to 65535 (default 10110, or the one in\n"
           "                    Korvel.ini; below 1024 needs root)\n"
           "  --bind ADDRESS    the address the TCP server listens at: * for every address of\n"
           "                    the machine (anyone on the network may connect; there is no\n"
           "                    password), one of its addresses, or ::1 (default: 127.0.0.1,\n"
           "                    this computer only, or TCPBind in Korvel.ini)\n"
           "  --max-clients N   the most TCP clients served at once (default 1000, or TCPClients\n"
           "                    in Korvel.ini); more are turned away as they come\n"
           "  --pty-link PATH   the pseudo-terminal's stable name (default korvel-gps0 in\n"
           "                    $XDG_RUNTIME_DIR, else in /tmp/korvel-UID, the user's own)\n"
           "  --udp HOST:PORT   where the UDP datagrams go (default 127.0.0.1:10110): a host, a\n"
           "                    broadcast address or a multicast group; IPv6 as [ADDRESS]:PORT.\n"
           "                    UDP may lose datagrams: a receiver that falls behind misses them\n"
           "  --connect HOST:PORT  also send to a program that listens there (a multiplexer,\n"
           "                    OpenCPN, a Signal K server), connecting again when it goes\n"
           "                    away; may be given more than once\n"
           "\n"
           "How fast (replay):\n"
           "  --interval S      one record every S seconds, 0.05 to 3600 (0.2: five a\n"
           "                    second), each on its own time, in replay and manual mode\n"
           "  --interval NAME   the window's interval options: x8, x4 and x2 send every 8th,\n"
           "                    4th or 2nd record five times a second; cont every record five\n"
           "                    times a second; 1s (the default), 2s, 4s and 8s one record\n"
           "                    at that interval; max every record at once, as fast as the\n"
           "                    destination takes them. Manual mode offers cont (ten times a\n"
           "                    second), 1s and 2s\n"
           "  --speed X         pace by the records' own times (RMC time of a log, point time\n"
           "                    of a track; a track without times is stamped from the run's\n"
           "                    clock, an interval a point) divided by X, 0.1 to 1000,\n"
           "                    sending every record; 1 is real time. Records without\n"
           "                    times, gaps of more than a minute and times that go\n"
           "                    backwards wait one interval\n"
           "  --now             move every time and date so that the first record is now\n"
           "                    (UTC), keeping the spacing (the sentences with a time: RMC,\n"
           "                    GGA, GLL, ZDA, GNS, GBS, GST, GRS, BWC, BWR, ZTG, ZFO, GXA);\n"
           "                    with --loop each pass goes on a second after the last\n"
           "  --loop            start again at the end of the file (default: stop there)\n"
           "  --last            send the newest record of a file that grows, again and again\n"
           "  --same-time-pos   logs: give a record's other sentences the position of its\n"
           "                    RMC, and its GGA the RMC's time too\n"
           "  --autoskip        logs: pass over the records of a receiver standing still\n"
           "  --autoreset       tracks: start the trip's statistics again at every segment\n"
           "\n"
           "What is sent:\n"
           "  --sentences LIST  the sentences to send, of RMC,GGA,VTG,RMB,GSA,GSV,OTH (the\n"
           "                    window's boxes; default RMC,GGA,VTG) and GLL,ZDA,GNS. OTH\n"
           "                    stands for a log's other sentences (AIS messages such as\n"
           "                    !AIVDM too) and the datum sentence. Tracks and manual mode\n"
           "                    build GSA, GSV (twelve satellites, as GGA says), GLL, ZDA\n"
           "                    and GNS; a log sends its own as recorded\n"
           "  --nmea VERSION    2.3 or 4.1: RMC, GLL and VTG built with the mode indicator\n"
           "                    (and 4.1's navigational status) those versions add\n"
           "  --talker ID       the talker of the sentences Korvel builds (a log's own keep\n"
           "                    theirs): GP (GPS, the default), GN (several systems), GL, GA,\n"
           "                    GB or BD\n"
           "\n"
           "Faults on purpose (each a fraction P of the sentences, 0 to 1; none by default):\n"
           "  --drop P          not sent\n"
           "  --corrupt P       sent with a wrong checksum\n"
           "  --cut P           cut off part-way, the line end still following\n"
           "  --garble P        with one to three stray printable bytes in them\n"
           "  --outage S+N      the fix lost for N seconds from S seconds into the stream's\n"
           "                    own time (RMC V, GGA quality 0, no position, no VTG speed);\n"
           "                    may be given more than once\n"
           "  --freeze S+N      a hung receiver: each sentence as it was sent last before\n"
           "                    (old time and position), from S for N seconds\n"
           "  --jitter M        every position moved by Gaussian noise of M metres north\n"
           "                    and east (standard deviation)\n"
           "  --seed N          the same faults at the same sentences again (the end of the\n"
           "                    run says the seed it used and what it put in)\n"
           "\n"
           "Manual position:\n"
           "  --lat DEG         -89.99 to 89.99 degrees, south negative\n"
           "  --lon DEG         -179.99 to 179.99 degrees, west negative\n"
           "  --alt M           -500 to 9000 metres\n"
           "                    (default: the position saved in Korvel.ini)\n"
           "  --knots K         move at K knots, 0 to 1000, along a great circle\n"
           "  --course C        that starts at C degrees from north, 0 to 359.9\n"
           "\n"
           "Other:\n"
           "  --echo            also print every sentence a destination took, one a line, on\n"
           "                    standard output (a paced pseudo-terminal may later drop what\n"
           "                    its reader leaves unread for a second; UDP may lose datagrams)\n"
           "  --quiet           print nothing but errors; without it a run on a terminal shows\n"
           "                    its progress on standard error\n"
           "  --force           download: replace an existing FILE once the download is complete\n"
           "  --ini PATH        the settings file to use (default: Korvel.ini beside the\n"
           "                    program, or in $XDG_CONFIG_HOME/korvel, ~/.config/korvel, when\n"
           "                    the program's folder cannot be written, as when installed)\n"
           "  --help            show this text and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "The window's logs, tracks and recordings are in Tracks beside the program, or in\n"
           "$XDG_DATA_HOME/korvel/Tracks (~/.local/share/korvel/Tracks) when the program's\n"
           "folder cannot be written; the first start puts the sample log and track there.\n"
           "\n"
           "Exit status: 0 when the run did what it was asked, 1 when something failed (standard\n"
           "error says what), 2 for bad options.\n";
}

std::string VersionText() {
    return std::string("korvel ") + KORVEL_VERSION + "\n";
}

} // namespace korvel
