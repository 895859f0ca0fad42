// The program among hostile neighbours on the network, tried as they would: clients from
// elsewhere, many clients at once, clients that come and go.
#include "cli/served_run.h"
#include "platform/run_until.h"

#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <gtest/gtest.h>
#include <sys/socket.h>

using namespace korvel;
using test::kSample;
using test::RunUntil;

namespace {

// An IPv4 address of this machine that the network reaches; null when it has none.
QHostAddress networkAddress() {
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address;
    return {};
}

} // namespace

// The server asks no password: it serves this computer alone unless bound to the network.
TEST(HeadlessNetwork, TheTcpServerServesTheNetworkOnlyWhenBound) {
    const QHostAddress lan = networkAddress();
    if (lan.isNull())
        GTEST_SKIP() << "this machine has no network address";
    struct Case {
        QStringList options;
        bool fromTheNetwork, fromThisComputer;
        std::string said;
    } cases[] = {
        {{}, false, true, "of this computer only (--bind '*' serves the network)"},
        {{"--bind", "*"}, true, true, "at *"},
        {{"--bind", lan.toString()}, true, false, "at " + lan.toString().toStdString()},
    };
    for (const Case& c : cases) {
        int port = 0;
        auto run = test::serving(kSample, c.options + QStringList{"--loop"}, port);
        ASSERT_TRUE(run);
        EXPECT_NE(run->said().find(c.said), std::string::npos) << run->said();
        QTcpSocket remote, local;
        remote.connectToHost(lan, static_cast<quint16>(port));
        EXPECT_EQ(remote.waitForConnected(2000), c.fromTheNetwork) << c.said;
        local.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
        EXPECT_EQ(local.waitForConnected(2000), c.fromThisComputer) << c.said;
        run->process.terminate();
        ASSERT_TRUE(run->process.waitForFinished(5000));
    }
}

// Datagrams go to a broadcast address, which the socket may reach only because it was named.
TEST(HeadlessNetwork, DatagramsReachABroadcastAddress) {
    QUdpSocket listener;
    ASSERT_TRUE(listener.bind(QHostAddress::AnyIPv4, 0));
    QProcess run;
    run.start(KORVEL_BINARY, {"replay", kSample, "--port", "UDP", "--udp",
                              "255.255.255.255:" + QString::number(listener.localPort()),
                              "--interval", "cont", "--loop", "--ini", "/nonexistent.ini"});
    EXPECT_TRUE(RunUntil([&] { return listener.hasPendingDatagrams(); }, 10000))
        << run.readAllStandardError().toStdString();
    run.terminate();
    ASSERT_TRUE(run.waitForFinished(5000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
}

// A client that gets sentences within timeoutMs, connecting again whenever it is turned away
// (as a client that finds the server full would); null when none came.
std::unique_ptr<QTcpSocket> servedClient(int port, int timeoutMs = 10000) {
    std::unique_ptr<QTcpSocket> socket;
    RunUntil(
        [&] {
            if (!socket || socket->state() == QAbstractSocket::UnconnectedState)
                socket = test::client(port);
            return socket->bytesAvailable() > 0;
        },
        timeoutMs);
    return socket && socket->bytesAvailable() > 0 ? std::move(socket) : nullptr;
}

// Clients over the limit are turned away at once, and those that come after others have gone
// are served in their places, however many came and went before. A client that has closed its
// sending side, having said something, is still a reader.
TEST(HeadlessNetwork, ClientsOverTheLimitAreTurnedAwayAndPlacesAreUsedAgain) {
    int port = 0;
    auto run = test::serving(kSample, {"--max-clients", "3", "--loop", "--interval", "cont"}, port);
    ASSERT_TRUE(run);
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(clients.emplace_back(servedClient(port)));
    clients[0]->write("?WATCH={\"enable\":true}\r\n");
    clients[0]->waitForBytesWritten(1000);
    ASSERT_EQ(shutdown(static_cast<int>(clients[0]->socketDescriptor()), SHUT_WR), 0);
    for (int i = 0; i < 2; ++i) {
        auto over = test::client(port);
        EXPECT_TRUE(
            RunUntil([&] { return over->state() == QAbstractSocket::UnconnectedState; }, 2000))
            << "turned away at once";
        EXPECT_EQ(over->bytesAvailable(), 0);
    }
    // Forty clients come and go through the places of two of the first three.
    for (int round = 0; round < 20; ++round) {
        clients[1] = nullptr;
        clients[2] = nullptr;
        ASSERT_TRUE(clients[1] = servedClient(port)) << "round " << round << ": " << run->said();
        ASSERT_TRUE(clients[2] = servedClient(port)) << "round " << round;
    }
    clients[0]->readAll();
    EXPECT_TRUE(RunUntil([&] { return clients[0]->bytesAvailable() > 0; }))
        << "the first client is served still";
    EXPECT_EQ(clients[0]->state(), QAbstractSocket::ConnectedState);
    run->process.terminate();
    ASSERT_TRUE(run->process.waitForFinished(5000));
    EXPECT_EQ(run->process.exitCode(), 0) << run->said();
}

// A run that connects out (as to a chart plotter that listens) delivers the whole stream the
// echo shows; one whose listener is never there fails and says so.
TEST(HeadlessNetwork, ConnectsOutToAListener) {
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    QString target = "127.0.0.1:" + QString::number(listener.serverPort());
    QProcess run;
    run.start(KORVEL_BINARY, {"replay", kSample, "--port", "none", "--connect", target,
                              "--interval", "max", "--echo", "--ini", "/nonexistent.ini"});
    QTcpSocket* client = nullptr;
    std::string got;
    RunUntil(
        [&] {
            if (!client && listener.hasPendingConnections())
                client = listener.nextPendingConnection();
            if (client)
                got += client->readAll().toStdString();
            return run.state() == QProcess::NotRunning &&
                   (!client || client->state() != QAbstractSocket::ConnectedState);
        },
        20000);
    run.waitForFinished(5000);
    std::string err = run.readAllStandardError().toStdString();
    EXPECT_EQ(run.exitCode(), 0) << err;
    EXPECT_EQ(got, test::Crlf(run.readAllStandardOutput().toStdString()));
    EXPECT_GT(got.size(), 10'000u);
    EXPECT_NE(err.find("connected to " + target.toStdString()), std::string::npos) << err;

    listener.close();
    test::Finished alone =
        test::RunKorvel({"replay", kSample, "--port", "none", "--connect", target, "--interval",
                         "max", "--quiet", "--ini", "/x.ini"});
    EXPECT_EQ(alone.code, 1);
    EXPECT_NE(alone.err.find(target.toStdString() + " was never reached (Connection refused)"),
              std::string::npos)
        << alone.err;
}
