// The TCP server with real clients on the loopback interface: readers, one that floods it with
// data, one that never reads, and one that leaves.
#include "real_outputs.h"

#include <QTcpSocket>
#include <gtest/gtest.h>
#include <sys/socket.h>

using namespace korvel;
using test::RunUntil;

// The stream's TCP server listening on a free port of the loopback interface.
class TcpOutput : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(out.outputs.open()) << "listening on " << port; }
    // Connects client and waits until the server serves it.
    bool connected(QTcpSocket& client) {
        client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
        size_t before = server.clients().size();
        return RunUntil([&] {
            return client.state() == QAbstractSocket::ConnectedState &&
                   server.clients().size() > before &&
                   sockets.state(server.clients().back()) == kSocketConnected;
        });
    }

    int port = test::FreePort();
    test::RealOutputs out{"TCP=" + std::to_string(port) + "\n", "TCP"};
    TcpServer& server = out.outputs.tcpServer();
    SocketArray& sockets = out.machine.winsock;
};

TEST_F(TcpOutput, EveryClientGetsWholeLinesInOrderWhateverTheOthersDo) {
    // Enough readers for the sending to be shared by two cores.
    std::vector<std::unique_ptr<QTcpSocket>> readers(40);
    for (auto& reader : readers) {
        reader = std::make_unique<QTcpSocket>();
        ASSERT_TRUE(connected(*reader));
    }
    QTcpSocket leaving, flooding, stuck;
    stuck.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    for (QTcpSocket* client : {&leaving, &flooding, &stuck})
        ASSERT_TRUE(connected(*client));
    stuck.setReadBufferSize(1);
    const int stuckElement = server.clients().back();
    const QByteArray chunk(1 << 20, 'z');
    for (int i = 0; i < 16; ++i)
        flooding.write(chunk);

    std::vector<std::string> got(readers.size());
    std::string expected, flooded;
    auto send = [&](const std::string& line) {
        out.outputs.send(line + "\r\n");
        expected += line + "\r\n";
    };
    auto everyReaderHasAll = [&] {
        bool all = true;
        for (size_t i = 0; i < readers.size(); ++i) {
            got[i] += readers[i]->readAll().toStdString();
            all = all && got[i].size() >= expected.size();
        }
        flooded += flooding.readAll().toStdString();
        return all;
    };
    // Lines too long for the system to take at once: the rest waits behind nothing.
    const std::string block = "$" + std::string(64 * 1024, 'x');
    for (int i = 0; i < 200 && sockets.state(stuckElement) == kSocketConnected; ++i) {
        send(i % 2 ? block : "$" + std::to_string(i));
        ASSERT_TRUE(RunUntil(everyReaderHasAll, 20000)) << "line " << i;
        if (i == 2)
            leaving.abort(); // the lines sent to it from now on meet a closed connection
    }
    EXPECT_EQ(sockets.state(stuckElement), kSocketClosed)
        << "the client that never reads was let go";
    for (size_t i = 0; i < readers.size(); ++i)
        ASSERT_EQ(got[i], expected) << "reader " << i;
    EXPECT_TRUE(RunUntil([&] {
        flooded += flooding.readAll().toStdString();
        return flooded.size() >= expected.size();
    }));
    EXPECT_EQ(flooded, expected) << "what a client sends is read and dropped";
    // When the stuck client reads again it finds whole lines, then the end of the connection.
    stuck.setReadBufferSize(0);
    std::string late;
    EXPECT_TRUE(RunUntil([&] {
        late += stuck.readAll().toStdString();
        return stuck.state() == QAbstractSocket::UnconnectedState;
    }));
    late += stuck.readAll().toStdString();
    EXPECT_EQ(expected.substr(0, late.size()), late);
    EXPECT_TRUE(late.ends_with("\r\n")) << "no part of a line";
}

// A client that closed its sending side and then reset its connection is let go as soon as
// the system knows, before any line is sent: its place is free for the next client.
TEST_F(TcpOutput, AResetIsNoticedWithoutALineSent) {
    QTcpSocket client;
    ASSERT_TRUE(connected(client));
    const int element = server.clients().front();
    ASSERT_EQ(shutdown(static_cast<int>(client.socketDescriptor()), SHUT_WR), 0);
    RunUntil([] { return false; }, 200); // its end of sending is read
    EXPECT_EQ(sockets.state(element), kSocketConnected) << "a half-closed client still reads";
    // Closed at once, with a reset rather than the end of a conversation.
    linger now{1, 0};
    setsockopt(static_cast<int>(client.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now,
               sizeof now);
    client.abort();
    EXPECT_TRUE(RunUntil([&] { return sockets.state(element) != kSocketConnected; }, 5000));
}
