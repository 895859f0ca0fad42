#include "cli/headless.h"

#include "app/device_names.h"
#include "app/profile_file.h"
#include "app/settings_location.h"
#include "cli/console_dialogs.h"
#include "cli/headless_download.h"
#include "cli/headless_run.h"
#include "cli/input_spool.h"
#include "cli/output_sink.h"
#include "cli/run_choices.h"
#include "files/pending_file.h"
#include "files/readable_file.h"
#include "manual/manual_settings.h"
#include "output/descriptor_limit.h"
#include "output/host_port.h"
#include "output/port_entries.h"
#include "platform/posix/posix_outgoing_link.h"
#include "platform/qt/machine.h"
#include "text/conversions.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <unistd.h>

namespace korvel {

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int) {
    stopRequested = true;
}

// "--port none": a serial port that takes every sentence and keeps none.
class NullSerialPort : public SerialPort {
  public:
    void setCommPort(int number) override { number_ = number; }
    int commPort() const override { return number_; }
    std::string deviceName() const override { return "none"; }
    void setSettings(const std::string& settings) override { settings_ = settings; }
    std::string settings() const override { return settings_; }
    bool open(std::string&) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool output(const std::string&) override { return true; }
    bool transmit(const std::string&, int, int) override { return true; }
    int inBufferCount() const override { return 0; }
    int inputByte() override { return -1; }

  private:
    int number_ = 1;
    std::string settings_ = "4800,n,8,1";
    bool open_ = false;
};

// "--interval max": the records follow each other with no pause at all.
class UnpacedClock : public Clock {
  public:
    explicit UnpacedClock(Clock& clock) : clock_(clock) {}
    LocalDateTime now() const override { return clock_.now(); }
    LocalDateTime utcNow() const override { return clock_.utcNow(); }
    std::int64_t monotonicMs() const override { return clock_.monotonicMs(); }
    void DoEvents() override { clock_.DoEvents(); }
    // The replay loop drives the records itself: the window's timers have nothing to do, and
    // starting and stopping them at every record would cost more than the record.
    void attach(Timer&) override {}

  private:
    Clock& clock_;
};

// Whether standard input was closed when the program started. A standard descriptor that was
// closed is held by /dev/null from then on, so that nothing the run opens takes its number: the
// echo would write into it, the replay of standard input would read its own file.
bool holdClosedStandardDescriptors() {
    bool inputClosed = false;
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            inputClosed = inputClosed || fd == STDIN_FILENO;
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY); // takes fd, the lowest
        }
    return inputClosed;
}

// Starts the replay of the file named, of standard input ("-") once its first record has come;
// the exit status when it cannot start.
std::optional<int> startReplay(HeadlessReplay& replay, const std::string& port,
                               const std::string& name, bool inputClosed,
                               std::unique_ptr<InputSpool>& spool, Clock& clock) {
    std::filesystem::path file = std::filesystem::absolute(name);
    if (name == "-" && inputClosed) {
        std::cerr << "korvel: standard input is closed: there is no log to replay\n";
        return 1;
    }
    if (name == "-") {
        spool = std::make_unique<InputSpool>(STDIN_FILENO);
        std::string error;
        if (!spool->open(error)) {
            std::cerr << "korvel: standard input: " << error << "\n";
            return 1;
        }
        // The load tells the kind of log by its first record: it waits for its end.
        while (!spool->ended() && spool->rmcLines() < 2 && !stopRequested)
            if (!spool->take(100)) {
                std::cerr << "korvel: standard input: " << spool->error() << "\n";
                return 1;
            }
        if (stopRequested)
            return 0;
        file = spool->path();
    } else if (std::string why = WhyUnreadable(file); !why.empty()) {
        std::cerr << "korvel: cannot read " << name << ": " << why << "\n";
        return 1;
    }
    if (!replay.start(file.string(), port, clock.now()))
        return 1;
    return std::nullopt;
}

// Where the sentences go, as the user finds each destination: the TCP server's port and
// address, the pseudo-terminal, the devices. None is said of the serial port --port none chose.
void sayWhereServed(const Outputs& outputs, const DeviceNames& devices, bool noSerialDevice) {
    const OutputSettings& out = outputs.settings;
    for (const Route& route : outputs.routes()) {
        std::ostringstream where;
        switch (route.destination) {
        case Destination::Tcp:
            where << "serving NMEA on TCP port " << out.tcpPort
                  << (IsLoopbackAddress(out.tcpAddress)
                          ? " of this computer only (--bind '*' serves the network)"
                          : " at " + out.tcpAddress);
            break;
        case Destination::Pty:
            where << "NMEA on " << outputs.ptyWhere();
            break;
        case Destination::Udp:
            where << "sending UDP datagrams to " << out.udpHost << " port " << out.udpPort;
            break;
        case Destination::Printer:
            where << "sending to " << devices.printer(route.entry);
            break;
        case Destination::Uart:
            where << "sending to the UART at 0x" << std::hex << route.uartAddress;
            break;
        case Destination::Serial:
            if (!noSerialDevice)
                where << "sending to " << devices.serial(route.comPort);
            break;
        }
        if (!where.str().empty())
            std::cerr << "korvel: " << where.str() << "\n";
    }
    for (const OutgoingConnection& connection : outputs.connections)
        std::cerr << "korvel: connecting to " << connection.target() << "\n";
}

// The replay at the pace the options ask for, until its end; the exit status.
int paced(HeadlessRun& headless, const RunOptions& o) {
    if (o.interval == "max")
        return headless.asFastAsTaken();
    if (o.speed)
        return headless.pacedByRecordTimes(*o.speed);
    std::optional<double> seconds = IntervalSeconds(o.interval);
    return headless.pacedByInterval(seconds ? std::optional(*seconds * 1000) : std::nullopt);
}

// Manual mode: the saved position, or the one the options give, streamed at the interval
// asked for until the run is stopped.
int runManual(const RunOptions& o, const std::string& port, const ProfileFile& profile,
              ReplayParts& parts, Outputs& outputs, OutputSink& sink, Clock& clock,
              const DeviceNames& devices) {
    std::string error;
    std::optional<int> period = ManualPeriodMs(o.interval, error);
    if (!period) {
        std::cerr << error << "\n";
        return 2;
    }
    ManualStream stream(parts.trip, parts.latest);
    stream.position = ManualPositionOf(profile);
    stream.style = parts.engine.options.style;
    if (o.lat)
        stream.position.latitude.setSignedTenths(std::lround(*o.lat * 36000));
    if (o.lon)
        stream.position.longitude.setSignedTenths(std::lround(*o.lon * 36000));
    if (o.alt)
        stream.position.altitude = static_cast<int>(std::lround(*o.alt));
    if (o.knots || o.course)
        stream.motion = ManualMotion{o.knots.value_or(0), o.course.value_or(0),
                                     stream.position.latitude.signedTenths() / 36000.0,
                                     stream.position.longitude.signedTenths() / 36000.0};
    outputs.route(port);
    if (std::optional<OutputFailure> failure = outputs.open()) {
        SayFailure(*failure);
        return 1;
    }
    if (!o.quiet)
        sayWhereServed(outputs, devices, o.port == "none");
    HeadlessRun headless(parts.engine, outputs, nullptr, clock, o.echo, false, nullptr,
                         stopRequested);
    return headless.streamManually(stream, *period, ChosenSentences(o), sink);
}

} // namespace

int RunHeadless(const CommandLine& command, int argc, char* argv[]) {
    const RunOptions& o = command.options;
    bool inputClosed = holdClosedStandardDescriptors();
    QCoreApplication application(argc, argv);
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    SettingsLocation settings = o.ini.empty() ? FindSettings(folder, UserConfigFolder())
                                              : SettingsLocation{o.ini, o.ini, ""};
    std::vector<std::string> warnings;
    ProfileFile profile = ReadSettings(settings, warnings);
    DeviceNames devices = DeviceNames::fromProfile(profile);
    if (o.port.starts_with("/"))
        devices.setSerial(1, o.port);
    // Further ports get the same stream; a device path among them is the serial port.
    std::vector<std::string> alsoTo = o.morePorts;
    for (std::string& port : alsoTo)
        if (port.starts_with("/")) {
            devices.setSerial(1, port);
            port = "COM1";
        }
    Machine machine(devices);
    NullSerialPort nothing;
    UnpacedClock unpaced(machine.clock);
    ConsoleDialogs dialogs;
    ConsoleHost host;
    Platform run{o.port == "none" ? static_cast<SerialPort&>(nothing) : machine.comm1,
                 machine.comm2,
                 machine.winsock,
                 machine.portIO,
                 machine.printers,
                 o.interval == "max" || o.speed ? static_cast<Clock&>(unpaced) : machine.clock,
                 dialogs,
                 host,
                 machine.pty,
                 machine.udp};
    bool manual = command.action == CommandLine::Action::Manual;
    for (const std::string& warning : warnings)
        dialogs.messageBox(warning, "Korvel", MessageIcon::Exclamation, MessageButtons::Ok);
    // What a killed run left: its pseudo-terminal's link, its private temporary folders.
    machine.pty.removeStaleLink(devices.ptyLink);
    RemoveStaleTemporaries(TemporaryFolder());
    ReplayParts parts;
    ReplayEngine& engine = parts.engine;
    Outputs outputs(run);
    OutputSettings& out = outputs.settings = devices.outputSettings();
    if (o.tcpPort)
        out.tcpPort = *o.tcpPort;
    if (o.maxClients) {
        out.tcpClientLimit = TcpClientsThatFit(*o.maxClients);
        if (out.tcpClientLimit < *o.maxClients)
            std::cerr << "korvel: the descriptor limit lets " << out.tcpClientLimit
                      << " TCP clients in at once, not " << *o.maxClients << "\n";
    }
    if (!o.bind.empty())
        out.tcpAddress = o.bind;
    if (!o.ptyLink.empty())
        out.ptyLink = o.ptyLink;
    if (!o.udp.empty()) {
        if (!devices.setUdp(o.udp)) {
            std::cerr << "korvel: --udp takes HOST:PORT, not '" << o.udp << "'\n";
            return 2;
        }
        out.udpHost = devices.udpHost;
        out.udpPort = devices.udpPort;
    }
    for (const std::string& target : o.connect)
        outputs.connections.emplace_back(*SplitHostPort(target, 0),
                                         std::make_unique<PosixOutgoingLink>(), run.clock);
    // --quiet leaves out the news of connections, not a listener never reached.
    outputs.onNotice = [quiet = o.quiet](const std::string& notice, bool failure) {
        if (!quiet || failure)
            std::cerr << "korvel: " << notice << "\n";
    };
    std::string error;
    std::string port = ChosenPort(o, profile.readInt("Port", "COM", -1), error);
    if (port.empty()) {
        std::cerr << error << "\n";
        return 2;
    }
    if (std::string refused = MoreOutputsRefused(port, alsoTo); !refused.empty()) {
        std::cerr << refused << "\n";
        return 2;
    }
    out.alsoTo = alsoTo;
    if (port.starts_with("COM"))
        run.comm1.setCommPort(PortEntryIndex(port) + 1);
    if (o.baud)
        run.comm1.setSettings(std::to_string(*o.baud) + ",n,8,1");
    ApplyReplayOptions(o, engine);
    engine.clock = &run.clock;
    OutputSink sink(outputs);
    HeadlessReplay replay(engine, outputs, sink);
    using namespace std::chrono;
    TimeShift shift(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
    std::optional<SentenceFaults> faults;
    if (o.faults.any())
        faults.emplace(o.faults, o.seed.value_or(std::random_device{}()));
    if (o.now || faults)
        sink.beforeSend = [&](std::string& sentence) {
            if (o.now)
                sentence = shift.apply(sentence);
            return !faults || faults->apply(sentence);
        };
    if (o.now)
        replay.looped = [&shift] { shift.startAgain(); };
    // The end of a run says what was put in, and the seed that puts it in again.
    auto sayFaults = [&](int status) {
        if (faults && !o.quiet)
            std::cerr << "korvel: faults put in (--seed " << faults->seed()
                      << "): " << faults->summary() << "\n";
        return status;
    };
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGPIPE, SIG_IGN);

    if (command.action == CommandLine::Action::Download) {
        long saved = profile.readInt("Port", "GPS-Port", 1);
        return RunDownload(machine.comm2, machine.clock,
                           saved >= 0 && saved < kSerialPortCount ? static_cast<int>(saved) : 1, o,
                           command.file, stopRequested);
    }
    if (manual)
        return sayFaults(runManual(o, port, profile, parts, outputs, sink, run.clock, devices));
    std::unique_ptr<InputSpool> spool; // replay -: the log as it arrives
    if (std::optional<int> refused =
            startReplay(replay, port, command.file, inputClosed, spool, run.clock))
        return *refused;
    if (!o.quiet)
        sayWhereServed(outputs, devices, o.port == "none");

    HeadlessRun headless(engine, outputs, &replay, run.clock, o.echo, !o.quiet, spool.get(),
                         stopRequested);
    return sayFaults(paced(headless, o));
}

} // namespace korvel
