// What each reader gets of a headless run, compared byte for byte with what the run says it
// took (its echo): readers that stall, leave, read slowly, pause, and a run ended by SIGTERM.
#include "cli/served_run.h"
#include "platform/run_until.h"
#include "replay/sentence.h"
#include "replay/sentence_rewrite.h"
#include "support/temp_folder.h"
#include "support/terminal.h"

#include <QProcess>
#include <QTcpSocket>
#include <QUdpSocket>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace korvel;
using test::client;
using test::readToEnd;
using test::Replay;
using test::RunUntil;
using test::serving;

namespace {

// Whether every line of got is a whole sentence with its checksum.
bool wholeSentences(const std::string& got) {
    for (size_t from = 0, end; (end = got.find("\r\n", from)) != std::string::npos;
         from = end + 2) {
        std::string line = got.substr(from, end - from);
        if (line.size() < 4 || FrameSentence(BodyOf(line)) != line)
            return false;
    }
    return got.empty() || got.ends_with("\r\n");
}

} // namespace

// As fast as taken: a client that never reads is let go once, for good, and the reader gets the
// whole stream at full speed (the run ends well within the minute, where a wait of seconds for
// every sentence would take hours). When the last client leaves, the rest of the log is not
// sent into nowhere: the run fails and says how much was not delivered.
TEST(HeadlessDelivery, StalledAndLeavingClientsAsFastAsTaken) {
    // More than the kernel and the server's backlog hold for a reader (some 5 MB here): the
    // run must wait for its reader, so the stalled client is there while it runs.
    test::TempFolder folder, larger;
    QString log = test::BigLog(folder, 20000);
    int port = 0;
    std::unique_ptr<Replay> stalledRun =
        serving(test::BigLog(larger, 60000), {"--interval", "max"}, port);
    ASSERT_TRUE(stalledRun);
    // The reader comes first, so that it gets the stream from its start, and holds the run
    // back until the stalled client is there too.
    auto reader = client(port, true);
    auto stalled = client(port, true);
    reader->setReadBufferSize(0);
    std::string got = readToEnd(*reader, 60000);
    EXPECT_GT(stalled->bytesAvailable(), 0) << "the stalled client was there while it ran";
    ASSERT_TRUE(stalledRun->process.waitForFinished(10000));
    EXPECT_EQ(stalledRun->process.exitCode(), 0) << stalledRun->said();
    std::string echoed = stalledRun->echoed();
    // Every record's RMC and GGA, and the VTG made for it.
    EXPECT_EQ(std::count(echoed.begin(), echoed.end(), '\n'), 60000 * 3);
    EXPECT_EQ(got, echoed);

    std::unique_ptr<Replay> leftRun = serving(log, {"--interval", "max"}, port);
    ASSERT_TRUE(leftRun);
    auto leaving = client(port);
    std::string before;
    RunUntil([&] { return (before += leaving->readAll().toStdString()).size() > 100000; });
    leaving->abort();
    ASSERT_TRUE(leftRun->process.waitForFinished(30000));
    std::string err = leftRun->said();
    EXPECT_EQ(leftRun->process.exitCode(), 1) << err;
    EXPECT_NE(err.find("every TCP client has gone: "), std::string::npos) << err;
    EXPECT_NE(err.find(" of 20000 records were not delivered"), std::string::npos) << err;
    EXPECT_EQ(leftRun->echoed().substr(0, before.size()), before);
}

// A paced run to three outputs at once, a TCP server bound to the IPv6 loopback address, UDP to
// it and the pseudo-terminal, ended by SIGTERM: the TCP client and the reader of the terminal
// get every sentence it took, the last ones too, UDP a sentence to a datagram, before the
// program ends with 0 and lets the client go.
TEST(HeadlessDelivery, ReadersGetTheLastSentencesOfARunEndedBySigterm) {
    test::TempFolder folder;
    QString log = test::BigLog(folder, 2000);
    int port = 0;
    std::string link = folder.file("gps0");
    QUdpSocket udp;
    ASSERT_TRUE(udp.bind(QHostAddress::LocalHostIPv6, 0));
    std::unique_ptr<Replay> serves = serving(
        log,
        {"--bind", "::1", "--port", "UDP", "--udp", "[::1]:" + QString::number(udp.localPort()),
         "--port", "PTY", "--pty-link", QString::fromStdString(link), "--interval", "cont"},
        port);
    ASSERT_TRUE(serves);
    Replay& run = *serves;
    auto tcp = client(port, false, QHostAddress::LocalHostIPv6);
    int pty = -1;
    ASSERT_TRUE(RunUntil([&] { return (pty = test::OpenRawReader(link)) >= 0; }));
    std::string overTcp, overPty, overUdp, echoed;
    auto read = [&] {
        overTcp += tcp->readAll().toStdString();
        test::ReadWaiting(pty, overPty);
        while (udp.hasPendingDatagrams()) {
            QByteArray datagram(static_cast<int>(udp.pendingDatagramSize()), 0);
            udp.readDatagram(datagram.data(), datagram.size());
            EXPECT_EQ(datagram.indexOf("\r\n"), datagram.size() - 2) << "one sentence";
            overUdp += datagram.toStdString();
        }
        return run.process.state() == QProcess::NotRunning;
    };
    RunUntil(
        [&] {
            read();
            return false;
        },
        1500);
    run.process.terminate();
    RunUntil(read, 10000);
    overTcp += readToEnd(*tcp, 10000);
    ASSERT_EQ(run.process.state(), QProcess::NotRunning);
    EXPECT_EQ(run.process.exitCode(), 0) << run.said();
    echoed += run.echoed();
    while (test::ReadWaiting(pty, overPty)) {
    }
    ::close(pty);
    read();
    ASSERT_GT(std::count(echoed.begin(), echoed.end(), '\n'), 20);
    EXPECT_TRUE(echoed.ends_with(overTcp)) << "the client came after the first sentences";
    EXPECT_TRUE(echoed.ends_with(overPty)) << "so did the reader";
    EXPECT_TRUE(overPty.starts_with("$") && wholeSentences(overPty)) << overPty.substr(0, 80);
    EXPECT_EQ(overUdp, echoed) << "datagrams from the start";
    EXPECT_EQ(tcp->state(), QAbstractSocket::UnconnectedState) << "the client is let go";
}

// A paced run to the pseudo-terminal whose reader is slower than the stream and pauses for
// four seconds: it loses old sentences, whole, never gets part of one, and the run goes on to
// its end with 0; the reader gets the last sentence.
TEST(HeadlessDelivery, ASlowReaderOfThePseudoTerminalLosesWholeOldSentences) {
    test::TempFolder folder;
    QString log = test::BigLog(folder, 80);
    std::string link = folder.file("gps0");
    Replay run(log, {"--port", "PTY", "--pty-link", QString::fromStdString(link), "--interval",
                     "cont", "--sentences", "RMC,GGA,VTG,OTH"});
    int pty = -1;
    ASSERT_TRUE(RunUntil([&] { return (pty = test::OpenRawReader(link)) >= 0; }));
    std::string got, echoed;
    QElapsedTimer reading;
    reading.start();
    bool paused = false;
    // About 1,200 bytes a second, where the stream brings some 2,000.
    RunUntil(
        [&] {
            char chunk[120];
            ssize_t n = ::read(pty, chunk, sizeof chunk);
            got.append(chunk, static_cast<size_t>(std::max<ssize_t>(n, 0)));
            echoed += run.echoed();
            if (!paused && reading.elapsed() > 1500) {
                paused = true;
                usleep(4'000'000);
            }
            usleep(100'000);
            return run.process.state() == QProcess::NotRunning;
        },
        30000);
    while (test::ReadWaiting(pty, got)) {
    }
    ::close(pty);
    echoed += run.echoed();
    EXPECT_EQ(run.process.exitCode(), 0) << run.said();
    EXPECT_TRUE(wholeSentences(got)) << got;
    EXPECT_LT(got.size(), echoed.size()) << "old sentences were dropped";
    // What the reader got is what was sent, in order, less whole sentences.
    size_t at = 0;
    for (size_t from = 0, end; (end = got.find("\r\n", from)) != std::string::npos;
         from = end + 2) {
        at = echoed.find(got.substr(from, end + 2 - from), at);
        ASSERT_NE(at, std::string::npos) << got.substr(from, end - from);
    }
    EXPECT_TRUE(echoed.ends_with(got.substr(got.rfind("$")))) << "the last sentence arrived";
}
