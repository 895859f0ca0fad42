#include "cli/headless.h"

#include "app/device_names.h"
#include "app/main_form.h"
#include "app/profile_file.h"
#include "cli/console_dialogs.h"
#include "cli/headless_download.h"
#include "cli/headless_run.h"
#include "cli/input_spool.h"
#include "files/readable_file.h"
#include "output/descriptor_limit.h"
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
#include <optional>
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
    void Sleep(int) override {}
    void DoEvents() override { clock_.DoEvents(); }
    // The replay loop drives the records itself: the window's timers have nothing to do, and
    // starting and stopping them at every record would cost more than the record.
    void attach(Timer&) override {}

  private:
    Clock& clock_;
};

int indexOf(const std::vector<std::string>& items, const std::string& item) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == item)
            return static_cast<int>(i);
    return -1;
}

// Applies the options to the form's controls as a user would set them; "" when they fit.
std::string applyOptions(MainForm& form, SerialPort& serial, const RunOptions& o) {
    Controls& c = form.c;
    if (!o.port.empty()) {
        bool device = o.port.starts_with("/") || o.port == "none";
        int index = indexOf(c.PortC.items, device ? "COM1" : o.port);
        if (index < 0)
            return "korvel: --port " + o.port +
                   " is not a port (COM1..COM16, Port1..Port4, LPT1..LPT3, TCP, a device path or "
                   "none)";
        c.PortC.listIndex.set(index);
    }
    // The window's two rates by its options; any other standard rate set on the port itself.
    if (o.baud && (*o.baud == 4800 || *o.baud == 9600))
        SelectOption(c.Pspeed, *o.baud == 9600 ? 1 : 0);
    else if (o.baud)
        serial.setSettings(std::to_string(*o.baud) + ",n,8,1");
    if (o.sentences) {
        std::vector<std::string> chosen = SplitFields(*o.sentences);
        for (CheckBox& box : c.Data)
            box.value.set(indexOf(chosen, box.caption) >= 0 ? 1 : 0);
    }
    c.Lop.value.set(o.loop ? 1 : 0);
    c.Last.value.set(o.last ? 1 : 0);
    c.Equ.value.set(o.sameTimePos ? 1 : 0);
    c.AutoReset.value.set(o.autoReset ? 1 : 0);
    c.AutoSkip.value.set(o.autoSkip ? 1 : 0);
    return "";
}

// "" when the further ports can take the stream beside the first: entries of the port list,
// one serial port among them all, none of them "none"; else why not.
std::string moreOutputs(const Controls& c, const std::vector<std::string>& ports) {
    int serial = Left(c.PortC.text(), 3) == "COM";
    for (const std::string& port : ports) {
        if (port == "none" || c.PortC.text() == port || indexOf(c.PortC.items, port) < 0 ||
            std::count(ports.begin(), ports.end(), port) > 1)
            return "korvel: --port " + port + " cannot be one more port (" +
                   (port == "none" ? "none stands alone" : "a port of the list, each once") + ")";
        serial += Left(port, 3) == "COM";
    }
    if (serial > 1)
        return "korvel: one serial port at a time";
    return "";
}

// The interval options by their names on the command line, in the form's order; "max" runs
// at "cont" without pacing.
const char* const kIntervals[] = {"x8", "x4", "x2", "cont", "1s", "2s", "4s", "8s"};

int intervalOption(const std::string& interval) {
    for (size_t i = 0; i < std::size(kIntervals); ++i)
        if (interval == kIntervals[i] || (interval == "max" && i == 3))
            return static_cast<int>(i);
    return -1;
}

// Chooses the interval option of that name, as a user clicks it: in manual mode once the
// simulation runs, as its start sets one second.
void selectInterval(Controls& c, const std::string& interval) {
    if (int option = intervalOption(interval); option >= 0)
        SelectOption(c.Abstand, static_cast<size_t>(option));
}

// "" when the window offers the interval in the mode it is in, else why not.
std::string intervalRefused(const Controls& c, const std::string& interval) {
    int option = intervalOption(interval);
    if (interval != "max" && (option < 0 || c.Abstand[static_cast<size_t>(option)].enabled))
        return "";
    std::string offered;
    for (size_t i = 0; i < std::size(kIntervals); ++i)
        if (c.Abstand[i].enabled)
            offered += (offered.empty() ? "" : ", ") + std::string(kIntervals[i]);
    return "korvel: --interval " + interval + " is not offered in manual mode (" + offered + ")";
}

// Starts manual mode as the user would, at the position and interval asked for; the exit
// status when it cannot start.
std::optional<int> startManual(MainForm& form, const RunOptions& o) {
    form.c.Manu.value.set(1);
    if (std::string refused = intervalRefused(form.c, o.interval); !refused.empty()) {
        std::cerr << refused << "\n";
        return 2;
    }
    if (o.lat)
        form.setCoordinateTenths(true, std::lround(*o.lat * 36000));
    if (o.lon)
        form.setCoordinateTenths(false, std::lround(*o.lon * 36000));
    if (o.alt)
        form.c.VSc2.setValue(static_cast<int>(std::lround(*o.alt)));
    form.Skip1_Click();
    if (!form.c.Timer1.enabled())
        return 1;
    selectInterval(form.c, o.interval);
    return std::nullopt;
}

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
std::optional<int> startReplay(MainForm& form, HeadlessReplay& replay, const RunOptions& o,
                               const std::string& name, bool inputClosed,
                               std::unique_ptr<InputSpool>& spool, Clock& clock) {
    selectInterval(form.c, o.interval);
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
    if (!replay.start(file.string(), form.c.PortC.text(), clock.now()))
        return 1;
    return std::nullopt;
}

} // namespace

int RunHeadless(const CommandLine& command, int argc, char* argv[]) {
    const RunOptions& o = command.options;
    bool inputClosed = holdClosedStandardDescriptors();
    QCoreApplication application(argc, argv);
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    SettingsLocation settings = o.ini.empty() ? FindSettings(folder, UserConfigFolder())
                                              : SettingsLocation{o.ini, o.ini, ""};
    DeviceNames devices = DeviceNames::fromProfile(ProfileFile::load(settings.readPath));
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
    dialogs.setQuiet(o.quiet);
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
    MainForm form(run, folder, settings);
    form.Form_Load();
    form.showFigures(false);
    OutputSettings& out = form.outputs().settings;
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
    if (std::string error = applyOptions(form, run.comm1, o); !error.empty()) {
        std::cerr << error << "\n";
        return 2;
    }
    if (std::string error = moreOutputs(form.c, alsoTo); !error.empty()) {
        std::cerr << error << "\n";
        return 2;
    }
    out.alsoTo = alsoTo;
    HeadlessReplay replay(form.engine(), form.outputs());
    if (o.now) {
        using namespace std::chrono;
        TimeShift shift(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
        form.beforeSend = replay.beforeSend = [shift](std::string& sentence) mutable {
            sentence = shift.apply(sentence);
        };
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGPIPE, SIG_IGN);

    if (command.action == CommandLine::Action::Download)
        return RunDownload(machine.comm2, machine.clock, form.s.garminPortIndex, o, command.file,
                           stopRequested);
    std::unique_ptr<InputSpool> spool; // replay -: the log as it arrives
    bool manual = command.action == CommandLine::Action::Manual;
    std::optional<int> refused =
        manual ? startManual(form, o)
               : startReplay(form, replay, o, command.file, inputClosed, spool, run.clock);
    if (refused)
        return *refused;
    if (!o.quiet && form.c.PortC.text() == "TCP")
        std::cerr << "korvel: serving NMEA to TCP clients on port " << out.tcpPort
                  << (IsLoopbackAddress(out.tcpAddress)
                          ? " of this computer only (--bind '*' serves the network)\n"
                          : " at " + out.tcpAddress + "\n");

    HeadlessRun headless(form, manual ? nullptr : &replay, run.clock, o.echo, !o.quiet && !manual,
                         spool.get(), stopRequested);
    if (manual)
        return headless.onTheFormsTimer();
    if (o.interval == "max")
        return headless.asFastAsTaken();
    if (o.speed)
        return headless.pacedByRecordTimes(*o.speed);
    return headless.pacedByInterval();
}

} // namespace korvel
