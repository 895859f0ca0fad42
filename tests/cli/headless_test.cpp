// The built program without a window, run as a user runs it.
#include "cli/served_run.h"
#include "output/sentence_time.h"
#include "platform/run_until.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "support/temp_folder.h"
#include "support/terminal.h"
#include "text/conversions.h"

#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

using namespace korvel;
using test::kSample;
using test::RunUntil;

// The headless replay echoes the stream the window sends: the golden streams of a log and a
// track, of the log on standard input, and of the log under names no file filter can say. A
// log's sentences with a wrong checksum leave as recorded, those cut short are left out: the
// end of the run says how many there were.
TEST(Headless, ReplaySendsTheWindowsStream) {
    const QString folder = QString(KORVEL_SOURCE_DIR) + "/tests/data/replay/";
    const QString log = folder + "log-every-line-in-file-order.log";
    const std::string logText = test::ReadFile(log.toStdString());
    test::TempFolder names;
    auto named = [&](const char* name) {
        return QString::fromStdString(names.write(name, logText));
    };
    const char* logSentences = "RMC,GGA,VTG,RMB,GSA,GSV,OTH";
    const QString phsmi = folder + "log-proprietary-phsmi.log",
                  cut = folder + "log-cut-while-written.log";
    struct Case {
        QString file;
        const char* sentences;
        QString input, golden;
        const char* said = ""; // at the end of the run
    } cases[] = {
        {log, logSentences, "", log},
        {folder + "own-track.trk", "RMC,GGA,VTG", "", folder + "own-track.trk"},
        {"-", logSentences, log, log},
        {named("a;b.txt"), logSentences, "", log},
        {named(" lead.txt"), logSentences, "", log},
        {phsmi, logSentences, "", phsmi,
         "the log holds 1 sentence whose checksum is wrong: it was sent as recorded\n"},
        {cut, "RMC,GGA,GSA", "", cut,
         "the log holds 2 sentences cut short (no checksum where the others have one): they were "
         "left out\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        test::Finished run =
            test::RunKorvel({"replay", c.file, "--port", "none", "--interval", "max", "--echo",
                             "--sentences", c.sentences, "--ini", "/nonexistent.ini"},
                            c.input);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(test::Crlf(run.out), test::ReadFile((c.golden + ".nmea-out").toStdString()));
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    }
}

// Options and files that cannot be used end the run at once with the reason, never as a
// success: a mistyped option (2), a file or an output that cannot be used (1). The user's file at
// the pseudo-terminal's link stays.
TEST(Headless, WhatCannotBeUsedFailsTheRunWithTheReason) {
    test::TempFolder folder;
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any));
    QString ini =
        QString::fromStdString(folder.write("k.ini", "[Devices]\nLPT1=/nonexistent/lp0\n"));
    std::string usersFile = folder.write("gps0", "mine");
    QString empty = QString::fromStdString(folder.write("empty.log", ""));
    QString noFix = QString::fromStdString(
        folder.write("nofix.log", "$GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1*39\r\n"));
    struct Case {
        QStringList arguments;
        int code;
        const char* says;
    } cases[] = {
        {{kSample, "--interval", "fast"}, 2, "x8, x4"},
        {{kSample, "--baud", "1000"}, 2, "1200"},
        {{kSample, "--port", "COM99"}, 2, "COM99"},
        {{kSample, "--port", "COM1", "--port", "/dev/ttyUSB0"}, 2, "COM1"},
        {{kSample, "--port", "UDP", "--port", "UDP"}, 2, "UDP"},
        {{"/no/such/file.log", "--port", "none"},
         1,
         "cannot read /no/such/file.log: No such file or directory\n"},
        {{QDir::tempPath(), "--port", "none"}, 1, ": Is a directory\n"},
        {{empty, "--port", "none"}, 1, "korvel: No Log-File !\nkorvel: The file is empty.\n"},
        {{noFix, "--port", "none"}, 1, "korvel: Data-Error !: No RMC or GGA-Data\n"},
        {{kSample, "--port", "TCP", "--tcp-port", QString::number(taken.serverPort())},
         1,
         "cannot listen"},
        {{kSample, "--port", "TCP", "--bind", "no.such.address"}, 1, "not an address"},
        {{kSample, "--port", "none", "--port", "LPT1"}, 1, "/nonexistent/lp0"},
        {{kSample, "--port", "PTY", "--pty-link", "/nonexistent/gps0"}, 1, "/nonexistent/gps0"},
        {{kSample, "--port", "PTY", "--pty-link", QString::fromStdString(usersFile)}, 1, "exists"},
        {{kSample, "--port", "UDP", "--udp", "no.such.host.invalid:10110"}, 1, "no.such.host"},
        {{kSample, "--port", "/dev/korvel-no-such-port"}, 1, "/dev/korvel-no-such-port"},
        {{kSample, "--port", "Port1"}, 1, "Port1"},
    };
    for (const Case& c : cases) {
        test::Finished run =
            test::RunKorvel(QStringList{"replay"} + c.arguments +
                            QStringList{"--interval", "cont", "--loop", "--ini", ini});
        EXPECT_EQ(run.code, c.code) << c.arguments.join(" ").toStdString() << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(test::ReadFile(usersFile), "mine");
    // Intervals the window does not offer in manual mode, and a position off the map.
    for (QStringList arguments : {QStringList{"--interval", "max"}, {"--lat", "95"}})
        EXPECT_EQ(test::RunKorvel(QStringList{"manual", "--port", "none"} + arguments).code, 2);
}

namespace {

// What a manual run with these options echoes within three seconds, up to that many lines.
std::string ManualEcho(const QStringList& arguments, long lines) {
    QProcess process;
    process.start(KORVEL_BINARY,
                  QStringList{"manual", "--port", "none", "--echo", "--ini", "/nonexistent.ini"} +
                      arguments);
    std::string out;
    if (!process.waitForStarted())
        return out;
    RunUntil(
        [&] {
            out += process.readAllStandardOutput().toStdString();
            return std::count(out.begin(), out.end(), '\n') >= lines;
        },
        3000);
    process.terminate();
    process.waitForFinished(5000);
    return out;
}

} // namespace

// The manual position streams at the interval asked for, from the position asked for, its
// hemispheres kept between 0 and -1 degrees, at a height below the sea.
TEST(Headless, ManualStreamsAtTheIntervalFromThePosition) {
    // Every tenth of a second: a dozen RMC sentences come well within three seconds, where
    // one a second would bring three.
    std::string out = ManualEcho(
        {"--lat", "-0.5", "--lon", "-0.25", "--alt", "-430", "--interval", "cont"}, 12 * 3);
    EXPECT_GE(std::count(out.begin(), out.end(), '\n'), 12 * 3) << out;
    EXPECT_NE(out.find(",A,0030.0000,S,00015.0000,W,"), std::string::npos) << out;
    EXPECT_NE(out.find(",1.5,-430.0,M,"), std::string::npos) << out;
}

// A moving manual position: every RMC carries the speed and course asked for, as does its VTG
// (with the talker asked for), and the longitude grows tick by tick along the equator.
TEST(Headless, AManualPositionMovesAtItsSpeedAndCourse) {
    std::string out =
        ManualEcho({"--lat", "0", "--lon", "-0.01", "--knots", "600", "--course", "90",
                    "--interval", "0.1", "--sentences", "RMC,VTG", "--talker", "GN"},
                   2 * 6);
    std::istringstream lines(out);
    std::string rmc, vtg;
    double lastLon = -0.6; // minutes: the start, west of Greenwich
    int ticks = 0;
    while (std::getline(lines, rmc) && std::getline(lines, vtg)) {
        ASSERT_EQ(ExtractField(rmc, 7), "600.0") << rmc;
        EXPECT_EQ(ExtractField(rmc, 8), "090.0") << rmc;
        EXPECT_EQ(Left(vtg, 33), "$GNVTG,090.0,T,,,600.0,N,1111.2,K") << vtg;
        double lon = SignedMinutesOfArc(ExtractField(rmc, 5), ExtractField(rmc, 6));
        EXPECT_GT(lon, lastLon) << rmc;
        EXPECT_EQ(ExtractField(rmc, 3), "0000.0000") << "the equator is a great circle";
        lastLon = lon;
        ++ticks;
    }
    EXPECT_GE(ticks, 6) << out;
}

// Standard output that fails is an error; one whose reader has gone ends the run quietly. What
// that reader got of a looped log with --now goes on in time from pass to pass, never back.
TEST(Headless, EchoOntoAFullDiskOrAClosedPipe) {
    QProcess full;
    full.setStandardOutputFile("/dev/full");
    full.start(KORVEL_BINARY, {"replay", kSample, "--port", "none", "--interval", "max", "--echo",
                               "--ini", "/nonexistent.ini"});
    ASSERT_TRUE(full.waitForFinished(30000));
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_NE(full.readAllStandardError().toStdString().find("standard output"), std::string::npos);

    QProcess piped;
    piped.start("/bin/bash", {"-c", QString(KORVEL_BINARY) + " replay " + kSample +
                                        " --port none --interval max --loop --now --echo"
                                        " --sentences RMC --ini /nonexistent.ini"
                                        " | head -n 500; exit ${PIPESTATUS[0]}"});
    ASSERT_TRUE(piped.waitForFinished(30000)) << "the run ends when its reader has gone";
    EXPECT_EQ(piped.exitCode(), 0);
    EXPECT_EQ(piped.readAllStandardError().toStdString(), "");
    std::istringstream got(piped.readAllStandardOutput().toStdString());
    std::int64_t latest = 0;
    int records = 0;
    for (std::string line; std::getline(got, line); ++records) {
        std::optional<SentenceTime> at = TimeOf(line);
        ASSERT_TRUE(at && at->dated && at->seconds > latest)
            << "record " << records << ": " << line;
        latest = at->seconds;
    }
    EXPECT_EQ(records, 500) << "two passes and more of the sample's 180 records";
}

// Standard input closed at the start is refused at once; one that fails (a connection reset
// under it) ends the run with the reason, never as the log's end.
TEST(Headless, StandardInputClosedOrFailingFailsTheRun) {
    QProcess closed;
    closed.start("/bin/sh", {"-c", "exec \"$0\" replay - --port none --ini /nonexistent.ini <&-",
                             KORVEL_BINARY});
    ASSERT_TRUE(closed.waitForFinished(10000)) << "a closed input is not waited for";
    EXPECT_EQ(closed.exitCode(), 1);
    EXPECT_NE(closed.readAllStandardError().toStdString().find("standard input is closed"),
              std::string::npos);

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QTcpSocket input;
    input.connectToHost(QHostAddress::LocalHost, server.serverPort());
    ASSERT_TRUE(input.waitForConnected(5000) && server.waitForNewConnection(5000));
    QTcpSocket* sender = server.nextPendingConnection();
    int inputFd = static_cast<int>(input.socketDescriptor());
    QProcess reset;
    reset.setChildProcessModifier([inputFd] { dup2(inputFd, STDIN_FILENO); });
    reset.start(KORVEL_BINARY, {"replay", "-", "--port", "none", "--interval", "max", "--echo",
                                "--ini", "/nonexistent.ini"});
    ASSERT_TRUE(reset.waitForStarted());
    input.close(); // the program alone holds it now
    for (int i = 0; i < 3; ++i)
        sender->write(QByteArray::fromStdString(
            FrameSentence("GPRMC,12000" + std::to_string(i) +
                          ",A,4807.038,N,01131.000,E,000.0,084.4,151225,,,A") +
            "\r\n"));
    sender->waitForBytesWritten(5000);
    std::string out;
    RunUntil([&] {
        return (out += reset.readAllStandardOutput().toStdString()).find('\n') != std::string::npos;
    });
    ASSERT_NE(out.find("$GPRMC,120000,"), std::string::npos) << "the first record has left";
    linger resetAtClose{1, 0};
    setsockopt(static_cast<int>(sender->socketDescriptor()), SOL_SOCKET, SO_LINGER, &resetAtClose,
               sizeof resetAtClose);
    sender->abort();
    ASSERT_TRUE(reset.waitForFinished(10000));
    std::string err = reset.readAllStandardError().toStdString();
    EXPECT_EQ(reset.exitCode(), 1) << err;
    EXPECT_NE(err.find("standard input: it cannot be read: Connection reset by peer"),
              std::string::npos)
        << err;
}

// At full speed the replay waits for a reader that pauses: it gets every sentence echoed, whole
// and in order, through the program's pseudo-terminal and a serial port (at 115200 baud).
TEST(Headless, AReaderThatPausesAtFullSpeedGetsWhatIsEchoed) {
    test::TempFolder folder;
    QString file = test::BigLog(folder, 3000);
    const std::string log = test::ReadFile(file.toStdString());
    test::CablePair cable;
    ASSERT_FALSE(cable.slave.empty());
    std::string link = folder.file("gps0");
    struct Path {
        const char* legend;
        QStringList port;
        std::function<int()> reader; // opens the reading end, -1 while it cannot
        std::string says;            // where the reader finds the stream, after "/dev/pts/N"
    } paths[] = {
        {"pseudo-terminal",
         {"--port", "PTY", "--pty-link", QString::fromStdString(link)},
         [&] { return test::OpenRawReader(link); },
         " (" + link + ")\n"},
        {"serial port",
         {"--port", QString::fromStdString(cable.slave), "--baud", "115200"},
         [&] { return cable.master; },
         "\n"},
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
                    termios line{}; // the rate the serial line runs at now
                    if (reader == cable.master && tcgetattr(cable.master, &line) == 0)
                        serialSpeed = cfgetospeed(&line);
                    usleep(2'000'000);
                }
                return process.state() == QProcess::NotRunning && !more;
            },
            60000);
        echoed += process.readAllStandardOutput().toStdString();
        if (reader != cable.master)
            ::close(reader);
        std::string err = process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitCode(), 0) << err;
        EXPECT_TRUE((err.starts_with("korvel: NMEA on /dev/pts/") ||
                     err.starts_with("korvel: sending to /dev/pts/")) &&
                    err.ends_with(path.says))
            << err;
        EXPECT_EQ(got, test::Crlf(echoed));
        EXPECT_EQ(got, log);
    }
    EXPECT_EQ(serialSpeed, static_cast<speed_t>(B115200)) << "the rate asked for";
}

// Faults on purpose through the built program: the same seed puts the same faults into the
// same sentences, and the end of the run says what it put in and with which seed.
TEST(Headless, FaultsOnPurposeComeAgainWithTheirSeed) {
    QStringList arguments{"replay", kSample,  "--interval", "max",   "--port",
                          "none",   "--echo", "--drop",     "0.2",   "--cut",
                          "0.1",    "--seed", "7",          "--ini", "/nonexistent.ini"};
    test::Finished first = test::RunKorvel(arguments), again = test::RunKorvel(arguments);
    test::Finished clean = test::RunKorvel(arguments.mid(0, 7) + QStringList{"--ini", "/x.ini"});
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, again.out);
    EXPECT_LT(first.out.size(), clean.out.size() * 9 / 10) << "a fifth dropped, some cut";
    EXPECT_NE(first.err.find("faults put in (--seed 7): "), std::string::npos) << first.err;
    EXPECT_EQ(clean.err.find("faults"), std::string::npos) << "none unless asked";
}

// A log's GLL, ZDA and GNS go as recorded when the command line names them, and only then.
TEST(Headless, ALogsGllZdaAndGnsGoWhenNamed) {
    std::vector<std::string> log = {
        FrameSentence("GNRMC,093000.00,A,4737.2315,N,00922.3327,E,000.0,000.0,140626,,,A"),
        FrameSentence("GNGLL,4737.2315,N,00922.3327,E,093000.00,A,A"),
        FrameSentence("GNZDA,093000.00,14,06,2026,00,00"),
        FrameSentence("GNGNS,093000.00,4737.2315,N,00922.3327,E,AA,14,0.7,400.0,48.0,,,V"),
    };
    test::TempFolder folder;
    QString path = QString::fromStdString(
        folder.write("today.log", log[0] + "\r\n" + log[1] + "\r\n" + log[2] + "\r\n" + log[3]));
    test::Finished run =
        test::RunKorvel({"replay", path, "--sentences", "RMC,GLL,GNS", "--interval", "max",
                         "--port", "none", "--echo", "--ini", "/nonexistent.ini"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, log[0] + "\n" + log[1] + "\n" + log[3] + "\n");
}
