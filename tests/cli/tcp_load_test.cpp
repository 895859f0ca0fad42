// The TCP server under load for 8 s: clients that come and go at random, clients that flood
// it with data and one that never reads. Those connected throughout receive every sentence,
// and the program's memory stays bounded.
#include "platform/real_form.h"

#include <QProcess>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

using namespace korvel;

namespace {

using Steady = std::chrono::steady_clock;

#ifdef __SANITIZE_ADDRESS__
// The sanitizer's shadow memory and its quarantine of freed blocks come on top.
constexpr long kMemoryBoundKb = 600 * 1024;
#else
constexpr long kMemoryBoundKb = 150 * 1024;
#endif

int connectTo(int port, int receiveBuffer = 0) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, O_NONBLOCK);
    return fd;
}

// Reads what is waiting; false when the server closed the connection.
bool drain(int fd, std::string* into) {
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0 && into)
            into->append(buffer, static_cast<size_t>(n));
        if (n == 0)
            return false;
        if (n < 0)
            return errno == EAGAIN || errno == EINTR;
    }
}

long residentKb(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The records (RMC sentences) of a stream, after the first one, which may have been joined
// half-way; each must end where it should.
std::vector<std::string> rmcSentences(const std::string& stream) {
    std::vector<std::string> found;
    size_t at = stream.find("$GPRMC");
    for (at = stream.find("$GPRMC", at + 1); at != std::string::npos;
         at = stream.find("$GPRMC", at + 1)) {
        size_t end = stream.find("\r\n", at);
        if (end != std::string::npos)
            found.push_back(stream.substr(at, end - at));
    }
    return found;
}

int secondOfDay(const std::string& rmc) {
    return std::stoi(rmc.substr(7, 2)) * 3600 + std::stoi(rmc.substr(9, 2)) * 60 +
           std::stoi(rmc.substr(11, 2));
}

} // namespace

TEST(TcpLoad, ServesEveryoneWhileClientsComeGoFloodAndStall) {
    int port = test::FreePort();
    QProcess korvel;
    korvel.start(KORVEL_BINARY, {"replay", QString(KORVEL_SOURCE_DIR) + "/Tracks/sample.log",
                                 "--port", "TCP", "--tcp-port", QString::number(port), "--interval",
                                 "cont", "--loop", "--quiet", "--ini", "/nonexistent.ini"});
    ASSERT_TRUE(korvel.waitForStarted());
    int probe = -1;
    for (int tries = 0; tries < 100 && (probe = connectTo(port)) < 0; ++tries)
        usleep(50000);
    ASSERT_GE(probe, 0) << "the server did not start";
    close(probe);

    std::vector<int> steady;
    std::vector<std::string> received(30);
    for (int i = 0; i < 30; ++i)
        steady.push_back(connectTo(port));
    int stalled = connectTo(port, 4096);
    std::vector<int> flooders;
    for (int i = 0; i < 10; ++i)
        flooders.push_back(connectTo(port));
    std::vector<int> churn(160, -1);
    std::mt19937 random(7);
    const std::string flood(16384, 'x');
    long peakKb = 0, connections = 0;
    auto end = Steady::now() + std::chrono::seconds(8);
    while (Steady::now() < end) {
        for (size_t i = 0; i < steady.size(); ++i)
            ASSERT_TRUE(drain(steady[i], &received[i])) << "a steady client was dropped";
        for (int fd : flooders)
            if (write(fd, flood.data(), flood.size()) < 0 && errno != EAGAIN)
                FAIL() << "a flooding client was dropped";
        for (int& fd : churn) {
            if (random() % 20 != 0)
                continue;
            if (fd >= 0) {
                close(fd);
                fd = -1;
            } else if ((fd = connectTo(port)) >= 0) {
                ++connections;
            }
        }
        for (int fd : churn)
            if (fd >= 0)
                drain(fd, nullptr);
        peakKb = std::max(peakKb, residentKb(korvel.processId()));
        usleep(10000);
    }
    for (size_t i = 0; i < steady.size(); ++i)
        drain(steady[i], &received[i]);
    korvel.terminate();
    ASSERT_TRUE(korvel.waitForFinished(10000));
    EXPECT_EQ(korvel.exitCode(), 0);
    EXPECT_GT(connections, 300) << "the clients came and went";

    // The first steady client saw every record: the sample's records are a second apart, and
    // the loop goes from its last (09:32:59) back to its first.
    std::vector<std::string> first = rmcSentences(received[0]);
    EXPECT_GT(first.size(), 20u); // five records a second at "cont"
    for (size_t k = 1; k < first.size(); ++k) {
        int before = secondOfDay(first[k - 1]), now = secondOfDay(first[k]);
        ASSERT_TRUE(now == before + 1 || (before == 34379 && now == 34200))
            << first[k - 1] << " then " << first[k];
    }
    // Every other one saw the same records.
    for (size_t i = 1; i < received.size(); ++i) {
        std::vector<std::string> records = rmcSentences(received[i]);
        ASSERT_GE(records.size() + 2, first.size()) << "client " << i;
        // The clients connected moments apart: their streams agree from the later start on.
        size_t offset = 0;
        while (offset < first.size() && first[offset] != records[0])
            ++offset;
        ASSERT_LT(offset, 3u) << "client " << i;
        size_t common = std::min(first.size() - offset, records.size()) - 1;
        for (size_t k = 0; k < common; ++k)
            ASSERT_EQ(records[k], first[k + offset]) << "client " << i << ", record " << k;
    }
    EXPECT_LT(peakKb, kMemoryBoundKb) << "the program's memory stays bounded";
    for (int fd : steady)
        close(fd);
    close(stalled);
    for (int fd : flooders)
        close(fd);
    for (int fd : churn)
        if (fd >= 0)
            close(fd);
}
