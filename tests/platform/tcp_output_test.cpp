// The TCP server with real clients on the loopback interface.
#include "real_form.h"

#include <QTcpSocket>
#include <gtest/gtest.h>
#include <sys/socket.h>

using namespace korvel;
using test::RunUntil;

namespace {

class TcpOutput : public testing::Test {
  protected:
    TcpOutput() : port(test::FreePort()), app("[Devices]\nTCP=" + std::to_string(port) + "\n") {
        app.choose("TCP");
        app.form->StartTcpServer();
    }

    std::unique_ptr<QTcpSocket> connectClient() {
        auto client = std::make_unique<QTcpSocket>();
        client->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
        int before = app.form->s.tcpClientCount;
        EXPECT_TRUE(RunUntil([&] {
            return client->state() == QAbstractSocket::ConnectedState &&
                   app.platform->winsock.state(app.form->s.tcpClientCount) == kSocketConnected &&
                   (app.form->s.tcpClientCount > before || before > 0);
        }));
        return client;
    }
    void send(const std::string& line) {
        std::string sentence = line;
        app.form->SendSentence(sentence);
    }
    static bool received(QTcpSocket& client, std::string& into, const std::string& expected) {
        return RunUntil([&] {
            into += client.readAll().toStdString();
            return into.size() >= expected.size();
        });
    }

    int port;
    test::RealForm app;
};

} // namespace

TEST_F(TcpOutput, EveryClientGetsEveryLineAndClosedElementsAreReused) {
    ASSERT_TRUE(app.form->c.TCPstat.visible) << "listening on " << port;
    auto first = connectClient();
    auto second = connectClient();
    ASSERT_EQ(app.form->s.tcpClientCount, 2);
    send("$GPGSV,1,1,00*79");
    send("$PGRMM,WGS 84*06");
    const std::string both = "$GPGSV,1,1,00*79\r\n$PGRMM,WGS 84*06\r\n";
    std::string a, b;
    EXPECT_TRUE(received(*first, a, both));
    EXPECT_TRUE(received(*second, b, both));
    EXPECT_EQ(a, both);
    EXPECT_EQ(b, both);
    EXPECT_EQ(app.form->c.PortL.toolTip, "127.0.0.1 127.0.0.1 ");

    first->disconnectFromHost();
    ASSERT_TRUE(RunUntil([&] { return app.platform->winsock.state(1) == kSocketClosing; }));
    send("$A*41");
    EXPECT_EQ(app.platform->winsock.state(1), kSocketClosed) << "closed on the next line";
    std::string more;
    EXPECT_TRUE(received(*second, more, "$A*41\r\n"));
    EXPECT_EQ(more, "$A*41\r\n");

    auto third = connectClient();
    EXPECT_EQ(app.form->s.tcpClientCount, 2) << "the closed element is used again";
    send("$B*42");
    std::string c;
    EXPECT_TRUE(received(*third, c, "$B*42\r\n"));
    EXPECT_EQ(c, "$B*42\r\n");
}

TEST_F(TcpOutput, ManyClientsGetEveryByteInOrder) {
    // Enough clients for the sending to be shared by two cores, and sentences too long for
    // the system to take at once: the rest waits in the socket's buffer, behind nothing.
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 80; ++i)
        clients.push_back(connectClient());
    std::string expected;
    for (int i = 0; i < 6; ++i) {
        std::string line = "$" + std::to_string(i) + std::string(i % 2 ? 200000 : 40, 'a' + i);
        send(line);
        expected += line + "\r\n";
    }
    std::vector<std::string> got(clients.size());
    ASSERT_TRUE(RunUntil([&] {
        bool all = true;
        for (size_t i = 0; i < clients.size(); ++i) {
            got[i] += clients[i]->readAll().toStdString();
            all = all && got[i].size() >= expected.size();
        }
        return all;
    }));
    for (size_t i = 0; i < clients.size(); ++i)
        ASSERT_EQ(got[i], expected) << "client " << i;
}

TEST_F(TcpOutput, AClientThatNeverReadsIsLetGoAndTheOthersGoOn) {
    auto reader = connectClient();
    // A client with a tiny receive window that never reads.
    QTcpSocket stuck;
    stuck.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    stuck.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    ASSERT_TRUE(RunUntil([&] { return app.form->s.tcpClientCount == 2; }));
    ASSERT_TRUE(RunUntil([&] { return app.platform->winsock.state(2) == kSocketConnected; }));
    stuck.setReadBufferSize(1);

    const std::string block = "$" + std::string(64 * 1024, 'x');
    std::string got;
    size_t expected = 0;
    for (int i = 0; i < 200 && app.platform->winsock.state(2) == kSocketConnected; ++i) {
        send(block);
        expected += block.size() + 2;
        RunUntil([&] {
            got += reader->readAll().toStdString();
            return got.size() >= expected;
        });
    }
    EXPECT_EQ(app.platform->winsock.state(2), kSocketClosed) << "the stuck client was let go";
    EXPECT_EQ(got.size(), expected) << "the reading client got every byte";

    // When it reads again it finds whole lines, then the end of the connection.
    stuck.setReadBufferSize(0);
    std::string late;
    EXPECT_TRUE(RunUntil([&] {
        late += stuck.readAll().toStdString();
        return stuck.state() == QAbstractSocket::UnconnectedState;
    }));
    late += stuck.readAll().toStdString();
    ASSERT_FALSE(late.empty());
    EXPECT_EQ(late.size() % (block.size() + 2), 0u) << "no part of a line";
}

TEST_F(TcpOutput, WhatClientsSendIsReadAndDropped) {
    auto flooder = connectClient();
    const QByteArray chunk(1 << 20, 'z');
    for (int i = 0; i < 16; ++i)
        flooder->write(chunk);
    ASSERT_TRUE(RunUntil([&] { return flooder->bytesToWrite() == 0; }, 20000));
    send("$C*43");
    std::string got;
    EXPECT_TRUE(received(*flooder, got, "$C*43\r\n"));
    EXPECT_EQ(got, "$C*43\r\n");
}

TEST(TcpListen, APortInUseIsReportedAndTheFormStaysUsable) {
    int port = test::FreePort();
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any, static_cast<quint16>(port)));
    test::RealForm app("[Devices]\nTCP=" + std::to_string(port) + "\n");
    app.choose("TCP");
    app.form->StartTcpServer();
    EXPECT_FALSE(app.form->c.TCPstat.visible);
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_NE(app.dialogs.messages[0].text.find(std::to_string(port)), std::string::npos);
    app.choose("COM1");
    EXPECT_EQ(app.form->s.outputPortIndex, 0);
}
