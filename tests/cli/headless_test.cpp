// The built program without a window, run as a user runs it.
#include "output/sentence_time.h"
#include "platform/real_form.h"
#include "replay/sentence.h"
#include "support/temp_folder.h"
#include "support/terminal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

using namespace korvel;
using test::RunUntil;

namespace {

struct Finished {
    int code;
    std::string out, err;
};

Finished runKorvel(const QStringList& arguments) {
    QProcess process;
    process.start(KORVEL_BINARY, arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

std::string crlf(std::string lines) {
    std::string out;
    for (char ch : lines)
        out += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    return out;
}

// Connects client to the program's TCP server as soon as it listens.
bool connectOnceListening(QTcpSocket& client, const QHostAddress& address, int port) {
    return RunUntil(
        [&] {
            if (client.state() == QAbstractSocket::UnconnectedState)
                client.connectToHost(address, static_cast<quint16>(port));
            return client.state() == QAbstractSocket::ConnectedState;
        },
        10000);
}

const QString kSample = QString(KORVEL_SOURCE_DIR) + "/Tracks/sample.log";

} // namespace

// The headless replay echoes the stream the window sends: the golden streams of a log and a
// track.
TEST(Headless, ReplaySendsTheWindowsStream) {
    const QString folder = QString(KORVEL_SOURCE_DIR) + "/tests/data/replay/";
    for (auto [file, sentences] :
         {std::pair{"log-every-line-in-file-order.log", "RMC,GGA,VTG,RMB,GSA,GSV,OTH"},
          {"own-track.trk", "RMC,GGA,VTG"}}) {
        SCOPED_TRACE(file);
        Finished run = runKorvel({"replay", folder + file, "--port", "none", "--interval", "max",
                                  "--echo", "--sentences", sentences, "--ini", "/nonexistent.ini"});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(crlf(run.out), test::ReadFile((folder + file + ".nmea-out").toStdString()));
    }
}

TEST(Headless, BadOptionsAndFilesFailWithOneLine) {
    struct Case {
        QStringList arguments;
        int code;
    } cases[] = {
        {{"replay", kSample, "--interval", "fast"}, 2},
        {{"replay", kSample, "--baud", "1000"}, 2},
        {{"replay", kSample, "--port", "COM99", "--ini", "/nonexistent.ini"}, 2},
        {{"replay", kSample, "--port", "COM1", "--port", "/dev/ttyUSB0"}, 2}, // two serial
        {{"replay", kSample, "--port", "TCP", "--port", "UDP", "--port", "UDP"}, 2},
        {{"manual", "--lat", "95"}, 2},
        // Intervals the window does not offer in manual mode.
        {{"manual", "--interval", "x8", "--port", "none"}, 2},
        {{"manual", "--interval", "max", "--port", "none"}, 2},
        {{"replay", "/no/such/file.log", "--port", "none"}, 1},
        {{"replay", QDir::tempPath(), "--port", "none"}, 1}, // a folder
        {{"replay", kSample, "--port", "/dev/korvel-no-such-port", "--ini", "/nonexistent.ini"}, 1},
    };
    for (const Case& c : cases) {
        Finished run = runKorvel(c.arguments);
        EXPECT_EQ(run.code, c.code) << c.arguments.join(" ").toStdString() << "\n" << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty());
    }
}

// The manual position streams at the interval asked for, from the position asked for, its
// hemispheres kept between 0 and -1 degrees.
TEST(Headless, ManualStreamsAtTheIntervalFromThePosition) {
    QProcess process;
    process.start(KORVEL_BINARY, {"manual", "--lat", "-0.5", "--lon", "-0.25", "--interval", "cont",
                                  "--port", "none", "--echo", "--ini", "/nonexistent.ini"});
    ASSERT_TRUE(process.waitForStarted());
    // Every tenth of a second: a dozen RMC sentences come well within three seconds, where
    // one a second would bring three.
    std::string out;
    RunUntil(
        [&] {
            out += process.readAllStandardOutput().toStdString();
            return std::count(out.begin(), out.end(), '\n') >= 12 * 3;
        },
        3000);
    process.terminate();
    process.waitForFinished(5000);
    EXPECT_GE(std::count(out.begin(), out.end(), '\n'), 12 * 3) << out;
    EXPECT_NE(out.find(",A,0030.0000,S,00015.0000,W,"), std::string::npos) << out;
}

// An output that cannot be used ends the run at once with the reason, never as a success; the
// user's file at the pseudo-terminal's link stays.
TEST(Headless, AnOutputThatCannotBeUsedFailsTheRun) {
    test::TempFolder folder;
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any));
    QString ini =
        QString::fromStdString(folder.write("k.ini", "[Devices]\nLPT1=/nonexistent/lp0\n"));
    std::string usersFile = folder.write("gps0", "mine");
    struct Case {
        QStringList arguments;
        const char* says;
    } cases[] = {
        {{"--port", "TCP", "--tcp-port", QString::number(taken.serverPort())}, "cannot listen"},
        {{"--port", "TCP", "--bind", "no.such.address"}, "no.such.address is not an address"},
        {{"--port", "LPT1"}, "/nonexistent/lp0"},
        {{"--port", "none", "--port", "LPT1"}, "/nonexistent/lp0"},
        {{"--port", "PTY", "--pty-link", "/nonexistent/gps0"}, "/nonexistent/gps0"},
        {{"--port", "PTY", "--pty-link", QString::fromStdString(usersFile)}, "exists"},
        {{"--port", "UDP", "--udp", "no.such.host.invalid:10110"}, "no.such.host.invalid"},
        {{"--port", "Port1"}, "Port1"},
    };
    for (const Case& c : cases) {
        Finished run =
            runKorvel(QStringList{"replay", kSample, "--interval", "cont", "--loop", "--ini", ini} +
                      c.arguments);
        EXPECT_EQ(run.code, 1) << c.arguments.join(" ").toStdString() << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("serving"), std::string::npos) << run.err;
    }
    EXPECT_EQ(test::ReadFile(usersFile), "mine");

    // A port below 1024 needs root: the user who has none is told so. The program and the log
    // are copied where that user may read them.
    if (geteuid() == 0) {
        std::string program = folder.file("korvel"), log = folder.file("sample.log");
        std::filesystem::copy_file(KORVEL_BINARY, program);
        std::filesystem::copy_file(kSample.toStdString(), log);
        QProcess process;
        process.setChildProcessModifier([] {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(3);
        });
        process.start(QString::fromStdString(program),
                      {"replay", QString::fromStdString(log), "--port", "TCP", "--tcp-port", "1000",
                       "--ini", ini});
        ASSERT_TRUE(process.waitForFinished(30000));
        std::string err = process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitCode(), 1) << err;
        EXPECT_NE(err.find("cannot listen"), std::string::npos) << err;
    }
}

// Standard output that fails is an error; one whose reader has gone ends the run quietly.
TEST(Headless, EchoOntoAFullDiskOrAClosedPipe) {
    QProcess full;
    full.setStandardOutputFile("/dev/full");
    full.start(KORVEL_BINARY, {"replay", kSample, "--port", "none", "--interval", "max", "--echo",
                               "--ini", "/nonexistent.ini"});
    ASSERT_TRUE(full.waitForFinished(30000));
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_NE(full.readAllStandardError().toStdString().find("standard output"), std::string::npos);

    QProcess piped;
    piped.start("/bin/bash",
                {"-c", QString(KORVEL_BINARY) + " replay " + kSample +
                           " --port none --interval max --loop --echo --ini /nonexistent.ini"
                           " | head -n 1 >/dev/null; exit ${PIPESTATUS[0]}"});
    ASSERT_TRUE(piped.waitForFinished(30000)) << "the run ends when its reader has gone";
    EXPECT_EQ(piped.exitCode(), 0);
    EXPECT_EQ(piped.readAllStandardError().toStdString(), "");
}

// A TCP server bound to the IPv6 loopback address serves its clients there, and a SIGTERM ends
// its run cleanly.
TEST(Headless, TcpReplayEndsCleanlyOnSigterm) {
    int port = test::FreePort();
    QProcess process;
    process.start(KORVEL_BINARY,
                  {"replay", kSample, "--port", "TCP", "--tcp-port", QString::number(port),
                   "--bind", "::1", "--interval", "cont", "--loop", "--ini", "/nonexistent.ini"});
    ASSERT_TRUE(process.waitForStarted());
    QTcpSocket client;
    ASSERT_TRUE(connectOnceListening(client, QHostAddress(QHostAddress::LocalHostIPv6), port));
    QTcpSocket overIpv4;
    overIpv4.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    EXPECT_FALSE(overIpv4.waitForConnected(1000)) << "not at the other addresses";
    std::string got;
    ASSERT_TRUE(RunUntil(
        [&] {
            got += client.readAll().toStdString();
            return got.find("$GPGGA") != std::string::npos;
        },
        10000));
    EXPECT_EQ(got.rfind("$GP", 0), 0u) << "whole sentences from the start";
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(RunUntil([&] { return client.state() == QAbstractSocket::UnconnectedState; }))
        << "the client is let go";
}

namespace {

// A TCP client that takes a little at a time: it connects without waiting and is given a small
// window. -1 while nothing listens on port.
int connectSmallWindow(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    int size = 4096;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ||
        errno == EINPROGRESS) {
        pollfd done{fd, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        if (poll(&done, 1, 1000) == 1 &&
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
            return fd;
    }
    ::close(fd);
    return -1;
}

// The rate a serial line runs at, as its device is set now.
speed_t lineSpeed(const std::string& device) {
    int line = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    speed_t speed = tcgetattr(line, &settings) == 0 ? cfgetospeed(&settings) : 0;
    ::close(line);
    return speed;
}

} // namespace

// At full speed the replay waits for a reader that pauses: it gets every sentence echoed, whole
// and in order, through the program's pseudo-terminal, a serial port (at 115200 baud) and TCP
// alike.
TEST(Headless, AReaderThatPausesAtFullSpeedGetsWhatIsEchoed) {
    test::TempFolder folder;
    std::string log;
    for (int i = 0; i < 3000; ++i) {
        std::string t = std::to_string(100000 + i);
        log += FrameSentence("GPRMC," + t + ",A,4807.038,N,01131.000,E,000.0,084.4,151225,,,A") +
               "\r\n" +
               FrameSentence("GPGGA," + t + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
               "\r\n";
    }
    QString file = QString::fromStdString(folder.write("long.log", log));
    test::CablePair cable;
    ASSERT_FALSE(cable.slave.empty());
    std::string link = folder.file("gps0");
    int port = test::FreePort();
    struct Path {
        const char* legend;
        QStringList port;
        std::function<int()> reader; // opens the reading end, -1 while it cannot
    } paths[] = {
        {"pseudo-terminal",
         {"--port", "PTY", "--pty-link", QString::fromStdString(link)},
         [&] { return test::OpenRawReader(link); }},
        {"serial port",
         {"--port", QString::fromStdString(cable.slave), "--baud", "115200"},
         [&] { return cable.master; }},
        {"TCP",
         {"--port", "TCP", "--tcp-port", QString::number(port)},
         [&] { return connectSmallWindow(port); }},
    };
    speed_t serialSpeed = 0;
    for (const Path& path : paths) {
        SCOPED_TRACE(path.legend);
        QProcess process;
        process.start(KORVEL_BINARY,
                      QStringList{"replay", file, "--interval", "max", "--echo", "--sentences",
                                  "RMC,GGA", "--ini", "/nonexistent.ini"} +
                          path.port);
        int reader = -1;
        ASSERT_TRUE(RunUntil([&] { return (reader = path.reader()) >= 0; }));
        std::string got, echoed;
        bool paused = false;
        RunUntil(
            [&] {
                echoed += process.readAllStandardOutput().toStdString();
                bool more = test::ReadWaiting(reader, got);
                if (!paused && got.size() > 2000) {
                    paused = true;
                    if (reader == cable.master)
                        serialSpeed = lineSpeed(cable.slave);
                    usleep(2'000'000);
                }
                return process.state() == QProcess::NotRunning && !more;
            },
            60000);
        echoed += process.readAllStandardOutput().toStdString();
        if (reader != cable.master)
            ::close(reader);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_EQ(got, crlf(echoed));
        EXPECT_EQ(got, log);
    }
    EXPECT_EQ(serialSpeed, static_cast<speed_t>(B115200)) << "the rate asked for";
}

// A log of one record a second, played 100 times faster and moved to the present: every record,
// in a hundredth of its time, the first one now, a second apart.
TEST(Headless, PacedByTheRecordsTimesAndMovedToNow) {
    QElapsedTimer took;
    took.start();
    Finished run = runKorvel({"replay", kSample, "--port", "none", "--speed", "100", "--now",
                              "--echo", "--sentences", "RMC", "--ini", "/nonexistent.ini"});
    double seconds = static_cast<double>(took.elapsed()) / 1000;
    std::time_t started = std::time(nullptr) - static_cast<std::time_t>(seconds);
    ASSERT_EQ(run.code, 0) << run.err;
    std::vector<std::string> rmc;
    for (size_t start = 0, end; (end = run.out.find('\n', start)) != std::string::npos;
         start = end + 1)
        rmc.push_back(run.out.substr(start, end - start));
    ASSERT_EQ(rmc.size(), 180u);
    EXPECT_GE(seconds, 1.79) << "179 s of records at 100 times their pace";
    EXPECT_LT(seconds, 30) << "not at the pace of the records";
    std::optional<SentenceTime> first = TimeOf(rmc[0]), second = TimeOf(rmc[1]);
    ASSERT_TRUE(first && second && first->dated);
    EXPECT_LE(std::abs(first->seconds - started), 5) << rmc[0];
    EXPECT_EQ(second->seconds - first->seconds, 1);
    EXPECT_EQ(TimeOf(rmc.back())->seconds - first->seconds, 179);
}

// A replay on a terminal shows its progress on standard error; one whose standard error is a
// file or a pipe, or that is asked to be quiet, does not.
TEST(Headless, ProgressOnATerminalOnly) {
    const QString run = QString(KORVEL_BINARY) + " replay " + kSample +
                        " --port none --interval max --ini /nonexistent.ini";
    for (auto [command, shown] : {std::pair{"script -qc '" + run + "' /dev/null", true},
                                  {"script -qc '" + run + " --quiet' /dev/null", false},
                                  {run, false}}) {
        QProcess process;
        process.start("/bin/sh", {"-c", command});
        ASSERT_TRUE(process.waitForFinished(30000));
        std::string said = process.readAllStandardOutput().toStdString() +
                           process.readAllStandardError().toStdString();
        EXPECT_EQ(said.find("record 180 of 180 (100 %)") != std::string::npos, shown)
            << command.toStdString() << ": " << said;
    }
}

// Two outputs at once: a TCP client and a UDP listener get the same stream.
TEST(Headless, TwoOutputsGetTheSameStream) {
    int port = test::FreePort();
    QUdpSocket listener;
    ASSERT_TRUE(listener.bind(QHostAddress::LocalHost, 0));
    QProcess process;
    process.start(KORVEL_BINARY,
                  {"replay", kSample, "--port", "TCP", "--tcp-port", QString::number(port),
                   "--port", "UDP", "--udp", "127.0.0.1:" + QString::number(listener.localPort()),
                   "--interval", "cont", "--sentences", "RMC", "--ini", "/nonexistent.ini"});
    QTcpSocket client;
    ASSERT_TRUE(connectOnceListening(client, QHostAddress(QHostAddress::LocalHost), port));
    std::string overTcp, overUdp;
    RunUntil(
        [&] {
            overTcp += client.readAll().toStdString();
            while (listener.hasPendingDatagrams()) {
                QByteArray datagram(static_cast<int>(listener.pendingDatagramSize()), 0);
                listener.readDatagram(datagram.data(), datagram.size());
                overUdp += datagram.toStdString();
            }
            return std::count(overTcp.begin(), overTcp.end(), '\n') >= 5;
        },
        10000);
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    // The client came a little after the start: what it got is the end of what UDP got.
    ASSERT_GE(std::count(overTcp.begin(), overTcp.end(), '\n'), 5);
    std::string common = overTcp.substr(0, overTcp.rfind("\r\n") + 2);
    EXPECT_NE(overUdp.find(common), std::string::npos) << overTcp << "\n--\n" << overUdp;
}
