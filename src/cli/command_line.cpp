#include "cli/command_line.h"

#include "text/conversions.h"

#include <set>

namespace korvel {

namespace {

CommandLine failure(const std::string& what) {
    return {CommandLine::Action::Error, "", "korvel: " + what + " (try korvel --help)", {}};
}

bool isNumber(const std::string& text) {
    return text.find_first_of("0123456789") != std::string::npos &&
           text.find_first_not_of("+-.0123456789") == std::string::npos;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    using Action = CommandLine::Action;
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h")
            return {Action::Help, "", "", {}};
    CommandLine result;
    RunOptions& o = result.options;
    static const std::set<std::string> intervals = {"x8", "x4", "x2", "cont", "1s",
                                                    "2s", "4s", "8s", "max"};
    static const std::set<std::string> boxes = {"RMC", "GGA", "VTG", "RMB", "GSA", "GSV", "OTH"};
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
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
                   argument == "--bind") {
            std::optional<std::string> v = value();
            if (!v)
                return failure(argument + " needs a value");
            if (argument == "--port")
                o.port = *v;
            else if (argument == "--ini")
                o.ini = *v;
            else if (argument == "--udp")
                o.udp = *v;
            else if (argument == "--pty-link")
                o.ptyLink = *v;
            else if (argument == "--bind")
                o.bind = *v;
            else if (argument == "--interval") {
                if (!intervals.count(*v))
                    return failure("--interval takes x8, x4, x2, cont, 1s, 2s, 4s, 8s or max");
                o.interval = *v;
            } else {
                for (const std::string& box : SplitFields(*v))
                    if (!boxes.count(box))
                        return failure("--sentences takes RMC,GGA,VTG,RMB,GSA,GSV,OTH, not '" +
                                       box + "'");
                o.sentences = *v;
            }
        } else if (argument == "--baud" || argument == "--tcp-port") {
            double n = 0;
            if (!number(n))
                return failure(argument + " needs a number");
            if (argument == "--baud") {
                static const std::set<double> rates = {1200,  2400,  4800,  9600,
                                                       19200, 38400, 57600, 115200};
                if (!rates.count(n))
                    return failure(
                        "--baud takes 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200");
                o.baud = static_cast<int>(n);
            } else {
                if (n < 1 || n > 65535 || n != Int(n))
                    return failure("--tcp-port takes a port from 1 to 65535");
                o.tcpPort = static_cast<int>(n);
            }
        } else if (argument == "--speed") {
            double n = 0;
            if (!number(n) || n < 0.1 || n > 1000)
                return failure("--speed takes a number from 0.1 to 1000 (1: real time)");
            o.speed = n;
        } else if (argument == "--lat" || argument == "--lon" || argument == "--alt") {
            double n = 0;
            if (!number(n))
                return failure(argument + " needs a number");
            double limit = argument == "--lat" ? 89.99 : argument == "--lon" ? 179.99 : 2000;
            if (n > limit || n < (argument == "--alt" ? 0 : -limit))
                return failure(argument + " is out of range");
            (argument == "--lat" ? o.lat : argument == "--lon" ? o.lon : o.alt) = n;
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
        } else if (argument.starts_with("-")) {
            return failure("unknown option '" + argument + "'");
        } else if (result.action != Action::Window) {
            return failure("unexpected argument '" + argument + "'");
        } else if (argument == "manual") {
            result.action = Action::Manual;
        } else if (argument == "replay" || argument == "download") {
            if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("-"))
                return failure(argument + " needs a FILE");
            result.action = argument == "replay" ? Action::Replay : Action::Download;
            result.file = arguments[++i];
        } else {
            return failure("unknown command '" + argument + "'");
        }
    }
    if ((o.speed || o.now) && result.action != Action::Replay)
        return failure(std::string(o.speed ? "--speed" : "--now") + " is for replay");
    if (o.speed && o.interval == "max")
        return failure("--speed paces by the records' times; --interval max does not pace");
    return result;
}

std::string UsageText() {
    return "Usage: korvel [COMMAND [FILE] [OPTIONS]] [--help] [--version]\n"
           "NMEA 0183 GPS simulator: replays recorded logs and tracks, or streams a position\n"
           "set by hand, to a serial port, a printer port or TCP clients.\n"
           "\n"
           "Without a command the window opens; it needs a display (DISPLAY or\n"
           "WAYLAND_DISPLAY). A command runs the same simulator without a window, with the\n"
           "settings of Korvel.ini unless options say otherwise:\n"
           "\n"
           "  replay FILE     replay FILE until its end (forever with --loop)\n"
           "  manual          stream the manual position (the saved one, or --lat/--lon/--alt)\n"
           "  download FILE   download a Garmin receiver's track log into FILE\n"
           "\n"
           "Options:\n"
           "  --port NAME       COM1..COM16, Port1..Port4, LPT1..LPT3, TCP, PTY or UDP; or a\n"
           "                    device path such as /dev/ttyUSB0, taken as a serial port; or none\n"
           "  --udp HOST:PORT   where the UDP datagrams go (default 127.0.0.1:10110): a host, a\n"
           "                    broadcast address or a multicast group; IPv6 as [ADDRESS]:PORT\n"
           "  --pty-link PATH   the pseudo-terminal's stable name (default /tmp/korvel-gps0)\n"
           "  --baud RATE       the serial port's rate: 1200, 2400, 4800 (the default), 9600,\n"
           "                    19200, 38400, 57600 or 115200 baud, 8 data bits, no parity\n"
           "  --tcp-port N      the TCP server's port (default 1000, or the one in Korvel.ini)\n"
           "  --bind ADDRESS    the address the TCP server listens at, such as 127.0.0.1 or ::1\n"
           "                    (default: every address of the machine)\n"
           "  --interval x8|x4|x2|cont|1s|2s|4s|8s|max\n"
           "                    the interval options; max sends every record at once, as fast\n"
           "                    as the destination takes them\n"
           "  --speed X         replay: pace by the records' own times (RMC time of a log,\n"
           "                    point time of a track) divided by X, 0.1 to 1000, sending every\n"
           "                    record; 1 is real time. Records without times, gaps of more\n"
           "                    than a minute and times that go backwards wait one interval\n"
           "  --now             replay: move every time and date so that the first record is\n"
           "                    now (UTC), keeping the spacing (RMC, GGA, GLL, ZDA)\n"
           "  --sentences LIST  RMC,GGA,VTG,RMB,GSA,GSV,OTH: which sentence boxes are checked\n"
           "  --loop --last --same-time-pos --autoskip --autoreset\n"
           "  --lat DEG --lon DEG --alt M   manual position in signed decimal degrees, metres\n"
           "  --echo            also print every sentence sent, one a line, on standard output\n"
           "  --quiet           print nothing but errors\n"
           "  --force           download: replace an existing FILE once the download is complete\n"
           "  --ini PATH        the settings file to use\n"
           "  --help            show this text and exit\n"
           "  --version         show the version and exit\n";
}

std::string VersionText() {
    return std::string("korvel ") + KORVEL_VERSION + "\n";
}

} // namespace korvel
