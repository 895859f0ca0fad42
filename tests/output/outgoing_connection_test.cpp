// A connection made to a program that listens, over real sockets on loopback with the pauses
// between attempts on virtual time: refused, back, gone, back again, and a reader that stops.
#include "output/outgoing_connection.h"
#include "platform/posix/posix_outgoing_link.h"
#include "support/virtual_platform.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

using namespace korvel;

namespace {

// A program that listens on a port of loopback, there or not as the test says: bound at first,
// so that the port is its own, but not listening.
class Listener {
  public:
    Listener() { bind(); }
    ~Listener() { goAway(); }
    void listen() {
        if (socket_ < 0)
            bind();
        ::listen(socket_, 4);
    }
    // The connection waiting to be accepted, taken; whether there was one.
    bool accept() {
        pollfd ready{socket_, POLLIN, 0};
        if (::poll(&ready, 1, 1000) != 1)
            return false;
        client_ = ::accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
        return client_ >= 0;
    }
    // What the connection brought until now.
    std::string read() {
        std::string got;
        char buffer[65536];
        for (ssize_t n; (n = ::recv(client_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            got.append(buffer, static_cast<size_t>(n));
        return got;
    }
    // Goes away: the connection and the listening both end.
    void goAway() {
        for (int* s : {&client_, &socket_})
            if (*s >= 0)
                ::close(std::exchange(*s, -1));
    }

    int port = 0;

  private:
    void bind() {
        socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int reuse = 1; // the port again while the connection before is in its last state
        setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        socklen_t size = sizeof address;
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), size);
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }

    int socket_ = -1, client_ = -1;
};

class Connect : public testing::Test {
  protected:
    // Sends a sentence; whether it went.
    bool send(const std::string& sentence) { return connection.send(sentence, nullptr, notices); }
    // Sends until it goes, the connection being made meanwhile (a second at most).
    bool sendOnceUp(const std::string& sentence) {
        for (int i = 0; i < 100; ++i) {
            if (send(sentence))
                return true;
            usleep(10'000);
        }
        return false;
    }

    Listener server;
    test::VirtualClock clock;
    OutgoingConnection connection{HostPort{"127.0.0.1", server.port},
                                  std::make_unique<PosixOutgoingLink>(), clock};
    std::vector<std::string> notices;
};

} // namespace

// Refused at first, tried again after pauses that double (0.5 s, 1 s, 2 s); once there, the
// listener gets the sentences from then on, none of those it missed; gone, it is said once and
// tried again at once; back, it gets the current sentences again.
TEST_F(Connect, BacksOffWhileAwayAndGetsTheCurrentSentencesWhenBack) {
    std::string error;
    ASSERT_TRUE(connection.open(error)) << error;
    EXPECT_FALSE(send("$A\r\n"));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "127.0.0.1:" + std::to_string(server.port) +
                              ": Connection refused; trying again every 0.5 to 30 s");
    clock.advance(500);
    EXPECT_FALSE(send("$B\r\n")); // the second attempt, refused: the pause is now 1 s
    clock.advance(1000);
    EXPECT_FALSE(send("$C\r\n")); // the third: next in 2 s
    server.listen();
    clock.advance(1999);
    EXPECT_FALSE(sendOnceUp("$D\r\n")) << "tried again before its pause was over";
    clock.advance(1);
    EXPECT_TRUE(sendOnceUp("$E\r\n"));
    ASSERT_TRUE(server.accept());
    EXPECT_TRUE(send("$F\r\n"));
    EXPECT_EQ(server.read(), "$E\r\n$F\r\n");
    EXPECT_EQ(notices.size(), 2u) << "refusals after the first are not said";
    EXPECT_EQ(notices.back(), "connected to 127.0.0.1:" + std::to_string(server.port));

    server.goAway();
    usleep(50'000); // the close reaches this side
    EXPECT_FALSE(send("$G\r\n"));
    ASSERT_GE(notices.size(), 3u);
    EXPECT_NE(notices[2].find("went away"), std::string::npos) << notices[2];
    EXPECT_FALSE(send("$H\r\n")) << "the first attempt after it went is at once, refused";
    server.listen();
    clock.advance(500);
    EXPECT_TRUE(sendOnceUp("$I\r\n"));
    ASSERT_TRUE(server.accept());
    EXPECT_EQ(server.read(), "$I\r\n");
    EXPECT_EQ(notices.size(), 4u);
    EXPECT_NE(connection.summary().find("missed"), std::string::npos) << connection.summary();
}

// A listener that stops reading: what has no room is dropped whole, the sentence begun ends
// first, and what the listener reads later are whole sentences with nothing kept back without
// bound. A listener never reached fails the run.
TEST_F(Connect, AListenerThatStopsReadingGetsWholeSentences) {
    server.listen();
    std::string error;
    ASSERT_TRUE(connection.open(error));
    ASSERT_TRUE(sendOnceUp("$GPTXT,01,01,01,first*00\r\n"));
    ASSERT_TRUE(server.accept());
    const std::string sentence =
        "$GPRMC,120000,A,3354.0000,S,01825.0000,E,012.0,250.0,081226,,E*00\r\n";
    long dropped = 0;
    for (int i = 0; i < 200'000 && dropped < 1000; ++i)
        dropped += send(sentence) ? 0 : 1;
    EXPECT_EQ(dropped, 1000) << "a reader that stops takes some megabytes, not all";
    // Read now, the end of the sentence begun goes before the next.
    std::string got = server.read();
    EXPECT_TRUE(send(sentence));
    got += server.read();
    EXPECT_EQ(got.substr(0, 26), "$GPTXT,01,01,01,first*00\r\n");
    got.erase(0, 26);
    EXPECT_EQ(got.size() % sentence.size(), 0u);
    EXPECT_EQ(got.find("$GPRMC", sentence.size() * (got.size() / sentence.size() - 1)),
              got.size() - sentence.size());

    Listener nobody; // bound, never listening
    test::VirtualClock clock2;
    OutgoingConnection never{HostPort{"127.0.0.1", nobody.port},
                             std::make_unique<PosixOutgoingLink>(), clock2};
    ASSERT_TRUE(never.open(error));
    never.send(sentence, nullptr, notices);
    EXPECT_TRUE(never.neverReached());
    EXPECT_EQ(never.summary(), "127.0.0.1:" + std::to_string(nobody.port) +
                                   " was never reached (Connection refused)");
}
