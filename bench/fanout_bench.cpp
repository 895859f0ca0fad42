// korvel_bench_fanout PORT CLIENTS RECORDS [STALLED]: connects CLIENTS readers (and STALLED
// clients that never read) to Korvel's TCP server on the loopback interface and, for RECORDS
// records that every reader receives, measures the time from the first reader receiving the
// record's RMC sentence to the last. Prints the 50th and 99th percentile in milliseconds.
// A reader has received a record when the record reached its socket, as the kernel stamps
// it: the readers all live in this one program, whose turn on the machine's cores would
// otherwise count in, and which would take those cores from the server meanwhile. So it
// reads a little after it is woken, when the server has sent the record to everyone.
// With PORT "reference" the readers are served by the least a server can do instead: a
// program that sends each record to every client in one loop of send() calls, ten records a
// second, which is what the machine's loopback costs at best.
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/epoll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int connectTo(int port, bool stalled) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (stalled) {
        int small = 4096;
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    } else {
        int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::perror("connect");
        std::exit(1);
    }
    return fd;
}

// The reference server: accepts the clients, then sends them records until the bench ends.
void referenceServer(int listener, int clients) {
    std::vector<int> accepted;
    while (static_cast<int>(accepted.size()) < clients)
        accepted.push_back(accept(listener, nullptr, nullptr));
    for (long record = 0;; ++record) {
        std::string text = "$GPRMC," + std::to_string(record) +
                           ",A,4807.0381,N,01131.0002,E,022.4,084.4,230394,,,A*00\r\n";
        while (text.size() < 350)
            text += "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*70\r\n";
        for (int fd : accepted)
            send(fd, text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

struct Arrival {
    double first = 0, last = 0; // seconds
    int readers = 0;
};

// Takes what fd holds without waiting; the time its last bytes reached the socket, in
// seconds, or nothing when it holds nothing.
std::optional<double> readStamped(int fd, std::string& text) {
    char buffer[65536];
    iovec part{buffer, sizeof buffer};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t n = recvmsg(fd, &message, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return std::nullopt;
    if (n <= 0) {
        std::fprintf(stderr, "a reader lost its connection\n");
        std::exit(1);
    }
    text.append(buffer, static_cast<size_t>(n));
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c))
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec at;
            std::memcpy(&at, CMSG_DATA(c), sizeof at);
            return static_cast<double>(at.tv_sec) + static_cast<double>(at.tv_nsec) * 1e-9;
        }
    std::fprintf(stderr, "the kernel gave no receive time\n");
    std::exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: korvel_bench_fanout PORT CLIENTS RECORDS [STALLED]\n");
        return 2;
    }
    int port = std::atoi(argv[1]), clients = std::atoi(argv[2]), records = std::atoi(argv[3]);
    int stalledCount = argc > 4 ? std::atoi(argv[4]) : 0;
    // One descriptor per client, as many as the system lets this program have.
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    if (std::string(argv[1]) == "reference") {
        int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener, 4096) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return 1;
        port = ntohs(address.sin_port);
        // A program of its own, as the server measured is: each holds one descriptor per
        // client, and ten thousand of each would be more than one program may open. It serves
        // until this program ends.
        if (fork() == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            referenceServer(listener, clients + stalledCount);
        }
        close(listener);
    }
    std::vector<int> stalled;
    for (int i = 0; i < stalledCount; ++i)
        stalled.push_back(connectTo(port, true));
    std::vector<int> readers;
    for (int i = 0; i < clients; ++i)
        readers.push_back(connectTo(port, false));
    // Only the first reader wakes this program: a thousand sockets watched by one program
    // would have the server's cores contend for that program's one list of ready sockets,
    // which a thousand separate clients do not share.
    int poll = epoll_create1(0);
    epoll_event watch{EPOLLIN, {.fd = readers[0]}};
    epoll_ctl(poll, EPOLL_CTL_ADD, readers[0], &watch);
    std::vector<std::string> pending(static_cast<size_t>(clients));
    // Records count once every reader has been accepted: the first RMC that all of them get.
    std::map<std::string, Arrival> arrivals;
    std::vector<double> spreads;
    bool counting = false;
    auto deadline = Clock::now() + std::chrono::seconds(120);
    while (static_cast<int>(spreads.size()) < records && Clock::now() < deadline) {
        // Woken by the first reader's bytes, it leaves the cores to the server for a while; the
        // records come at least a tenth of a second apart.
        epoll_event event;
        if (epoll_wait(poll, &event, 1, 1000) <= 0)
            continue;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        for (size_t client = 0; client < readers.size(); ++client) {
            std::string& text = pending[client];
            // Sentences of earlier records read together with it count as late as it.
            std::optional<double> at = readStamped(readers[client], text);
            if (!at)
                continue;
            for (size_t end; (end = text.find("\r\n")) != std::string::npos;
                 text.erase(0, end + 2)) {
                if (end < 6 || text.compare(3, 3, "RMC") != 0)
                    continue;
                Arrival& a = arrivals[text.substr(0, end)];
                if (a.readers++ == 0)
                    a.first = a.last = *at;
                a.first = std::min(a.first, *at);
                a.last = std::max(a.last, *at);
                if (a.readers == clients) {
                    counting = true;
                    spreads.push_back((a.last - a.first) * 1000);
                    arrivals.erase(text.substr(0, end));
                }
            }
        }
        if (!counting)
            spreads.clear();
    }
    if (static_cast<int>(spreads.size()) < records) {
        std::fprintf(stderr, "only %zu records reached every reader\n", spreads.size());
        return 1;
    }
    std::sort(spreads.begin(), spreads.end());
    auto at = [&](double p) { return spreads[static_cast<size_t>(p * (spreads.size() - 1))]; };
    std::printf("%.3f %.3f\n", at(0.5), at(0.99));
    for (int fd : stalled)
        close(fd);
    return 0;
}
