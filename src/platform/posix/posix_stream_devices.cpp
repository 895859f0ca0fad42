#include "platform/posix/posix_stream_devices.h"

#include "platform/posix/address_lookup.h"
#include "platform/posix/link_claim.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace korvel {

namespace {

// The link's absolute path, as one program and the next name it.
std::string absolutePath(const std::string& path) {
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    return ec ? path : absolute;
}

// What the terminal may hold unread: less than its line buffer (4095 bytes), whose count of
// unread bytes is then the whole truth.
constexpr size_t kRoom = 2048;
// What no reader took within a second is old news.
constexpr std::int64_t kStaleMs = 1000;
// The terminal counts what it was handed once its buffers have passed it on.
constexpr std::int64_t kSettleMs = 20;

// Datagrams sent as fast as they come, and the pause after each burst of them: some 40,000 a
// second, which a receiver on this machine doing a little work with each takes in full, where
// an unbroken stream lost one in twenty.
constexpr int kUdpBurst = 64;
constexpr long kUdpPauseNs = 1'000'000;

std::int64_t monotonicMs() {
    timespec clock{};
    clock_gettime(CLOCK_MONOTONIC, &clock);
    return clock.tv_sec * 1000 + clock.tv_nsec / 1'000'000;
}

std::string linkTarget(const std::string& link) {
    char target[PATH_MAX];
    ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : "";
}

// Whether path is a symbolic link to a pseudo-terminal, as this program makes them.
bool isTerminalLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
           linkTarget(path).starts_with("/dev/pts/");
}

// Whether datagrams to this address reach every host of a network: the limited broadcast, or
// the broadcast address of one of the machine's networks.
bool isBroadcast(const sockaddr_storage& to) {
    if (to.ss_family != AF_INET)
        return false;
    in_addr_t address = reinterpret_cast<const sockaddr_in&>(to).sin_addr.s_addr;
    if (address == htonl(INADDR_BROADCAST))
        return true;
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return false;
    bool found = false;
    for (ifaddrs* i = interfaces; i && !found; i = i->ifa_next)
        found = (i->ifa_flags & IFF_BROADCAST) && i->ifa_broadaddr &&
                i->ifa_broadaddr->sa_family == AF_INET &&
                reinterpret_cast<const sockaddr_in*>(i->ifa_broadaddr)->sin_addr.s_addr == address;
    freeifaddrs(interfaces);
    return found;
}

} // namespace

PosixPseudoTerminal::~PosixPseudoTerminal() {
    if (master_ >= 0)
        ::close(master_);
    if (slaveKeeper_ >= 0)
        ::close(slaveKeeper_);
    // Only the link this program made goes, and only while it still leads to this terminal.
    if (!link_.empty() && linkTarget(link_) == slave_)
        ::unlink(link_.c_str());
    if (linkClaim_ >= 0)
        ::close(linkClaim_);
}

bool PosixPseudoTerminal::open(const std::string& link, std::string& error) {
    if (master_ >= 0)
        return true;
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        if (master >= 0)
            ::close(master);
        return false;
    }
    slave_ = ptsname(master);
    if (!link.empty() && !makeLink(link, error)) {
        ::close(master);
        return false;
    }
    // The reader gets the bytes as they are: no echo, no line editing, no CR LF translation.
    slaveKeeper_ = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    if (slaveKeeper_ >= 0 && tcgetattr(slaveKeeper_, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(slaveKeeper_, TCSANOW, &raw);
    }
    master_ = master;
    return true;
}

void PosixPseudoTerminal::removeStaleLink(const std::string& link) {
    std::string path = absolutePath(link), why;
    // Most starts find nothing left: they claim nothing and make no folder for it.
    if (link.empty() || path == link_ || !isTerminalLink(path))
        return;
    int claim = ClaimLinkName(path, why);
    if (claim < 0)
        return;
    if (isTerminalLink(path))
        ::unlink(path.c_str());
    ::close(claim);
}

bool PosixPseudoTerminal::makeLink(const std::string& link, std::string& error) {
    std::string path = absolutePath(link), why;
    int claim = ClaimLinkName(path, why);
    if (claim < 0) {
        error = "the link " + link + ": " + why;
        return false;
    }
    // A link to a pseudo-terminal that nobody claims was left by an earlier run and is renewed;
    // anything else at that path is the user's and stays. Another user's link is never taken
    // over: a reader may trust it to be this user's.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (info.st_uid != geteuid()) {
            error = "the link " + link + " belongs to another user";
            ::close(claim);
            return false;
        }
        if (!isTerminalLink(path)) {
            error = "the link " + link + " cannot be made: a file of that name exists";
            ::close(claim);
            return false;
        }
        ::unlink(path.c_str());
    }
    if (::symlink(slave_.c_str(), path.c_str()) != 0) {
        error = "the link " + link + " cannot be made: " + std::strerror(errno);
        ::close(claim);
        return false;
    }
    link_ = path;
    linkClaim_ = claim;
    return true;
}

size_t PosixPseudoTerminal::handedBytes() const {
    size_t bytes = 0;
    for (const Sentence& sentence : handed_)
        bytes += sentence.bytes.size();
    return bytes;
}

int PosixPseudoTerminal::unread() const {
    int bytes = 0;
    return slaveKeeper_ >= 0 && ioctl(slaveKeeper_, FIONREAD, &bytes) == 0 ? bytes : 0;
}

bool PosixPseudoTerminal::write(const std::string& bytes) {
    if (master_ < 0)
        return false;
    waiting_.push_back({monotonicMs(), bytes});
    pump();
    return true;
}

void PosixPseudoTerminal::pump() {
    std::int64_t now = monotonicMs();
    // The terminal counts what it was just handed a moment later.
    if (now - lastHandedAt_ >= kSettleMs)
        dropUnread(now);
    // Sentences that waited a second for room are old news: dropped whole, never begun.
    while (!waiting_.empty() && waiting_.front().sentAt < now - kStaleMs)
        waiting_.pop_front();
    if (!finishStarted())
        return;
    size_t held = static_cast<size_t>(unread());
    while (!waiting_.empty() && (held == 0 || held + waiting_.front().bytes.size() <= kRoom)) {
        Sentence& next = waiting_.front();
        ssize_t n = ::write(master_, next.bytes.data(), next.bytes.size());
        if (n <= 0)
            break;
        started_ = next.bytes.substr(static_cast<size_t>(n));
        held += static_cast<size_t>(n);
        lastHandedAt_ = now;
        handed_.push_back(std::move(next));
        waiting_.pop_front();
        if (!started_.empty())
            break;
    }
    // Only the latest sentences can still be in the terminal.
    size_t kept = handedBytes();
    while (!handed_.empty() && kept - handed_.front().bytes.size() >= 4 * kRoom) {
        kept -= handed_.front().bytes.size();
        handed_.pop_front();
    }
}

void PosixPseudoTerminal::dropUnread(std::int64_t now) {
    size_t held = static_cast<size_t>(unread());
    size_t handed = handedBytes();
    // What the terminal was given of the sentences handed to it: all but the part not written.
    size_t inTerminal = handed - std::min(handed, started_.size());
    if (held == 0 || held > inTerminal) {
        if (held == 0 && started_.empty())
            handed_.clear(); // the reader has taken everything
        return;
    }
    // The sentence the reader is in, and how much of it it has taken.
    size_t taken = inTerminal - held;
    auto reading = handed_.begin();
    while (taken >= reading->bytes.size()) {
        taken -= reading->bytes.size();
        ++reading;
    }
    if (reading->sentAt >= now - kStaleMs) {
        handed_.erase(handed_.begin(), reading);
        return;
    }
    tcflush(slaveKeeper_, TCIFLUSH);
    if (taken == 0 && !reading->ending) {
        started_.clear();
        handed_.clear();
        return;
    }
    // The reader has begun this sentence: it gets its end, then the current ones.
    started_ = reading->bytes.substr(taken);
    Sentence rest{now, started_, true};
    handed_.clear();
    handed_.push_back(std::move(rest));
}

bool PosixPseudoTerminal::finishStarted() {
    ssize_t n = started_.empty() ? 0 : ::write(master_, started_.data(), started_.size());
    started_.erase(0, n > 0 ? static_cast<size_t>(n) : 0);
    return started_.empty();
}

bool PosixPseudoTerminal::writeAll(const std::string& bytes,
                                   const std::function<bool()>& keepWaiting) {
    if (master_ < 0)
        return false;
    started_ += bytes;
    for (;;) {
        ssize_t n = ::write(master_, started_.data(), started_.size());
        started_.erase(0, n > 0 ? static_cast<size_t>(n) : 0);
        if (started_.empty())
            return true;
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        // A reader that pauses is waited for; the wait is given up only when asked.
        pollfd ready{master_, POLLOUT, 0};
        if (poll(&ready, 1, 100) == 0 && !keepWaiting()) {
            // Bytes not begun are not sent; begun ones are finished by the next write.
            bool begun = started_.size() < bytes.size();
            if (!begun)
                started_.resize(started_.size() - bytes.size());
            return begun;
        }
    }
}

bool PosixPseudoTerminal::drain(const std::function<bool()>& keepWaiting) {
    if (master_ < 0)
        return false;
    // What waits goes as the reader makes room; what it leaves for a second is dropped.
    for (pump(); !waiting_.empty() || !started_.empty(); pump()) {
        poll(nullptr, 0, 20);
        if (!keepWaiting())
            return false;
    }
    if (!writeAll("", keepWaiting))
        return false;
    // The terminal hands the reader its bytes in steps: nothing unread twice in a row is
    // nothing left.
    for (int empty = 0; empty < 2;) {
        int unread = 0;
        if (slaveKeeper_ < 0 || ioctl(slaveKeeper_, FIONREAD, &unread) != 0)
            return false;
        empty = unread == 0 ? empty + 1 : 0;
        poll(nullptr, 0, unread == 0 ? 20 : 100);
        if (unread > 0 && !keepWaiting())
            return false;
    }
    return true;
}

PosixDatagramSender::~PosixDatagramSender() {
    if (socket_ >= 0)
        ::close(socket_);
}

bool PosixDatagramSender::open(const std::string& host, int port, std::string& error) {
    SocketAddress found;
    if (!LookUpAddress(host, port, SOCK_DGRAM, found, error))
        return false;
    address_ = found.address;
    addressLength_ = found.length;
    int family = found.family();
    target_ = (host.find(':') == std::string::npos ? host : "[" + host + "]") + ":" +
              std::to_string(port);
    if (socket_ >= 0 && family != family_) {
        ::close(socket_);
        socket_ = -1;
    }
    if (socket_ < 0) {
        family_ = family;
        socket_ = ::socket(family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    }
    if (socket_ >= 0) {
        // The socket may reach a whole network only when the user named a broadcast address.
        int broadcast = isBroadcast(address_) ? 1 : 0;
        setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &broadcast, sizeof broadcast);
        return true;
    }
    error = target_ + ": " + std::strerror(errno);
    return false;
}

bool PosixDatagramSender::send(const std::string& bytes, bool paced, std::string& error) {
    // A receiver's buffer holds some hundreds of small datagrams: after each burst of them, a
    // pause lets a receiver on this machine read them before the next.
    if (paced && ++burst_ >= kUdpBurst) {
        burst_ = 0;
        timespec pause{0, kUdpPauseNs};
        nanosleep(&pause, nullptr);
    }
    ssize_t sent = ::sendto(socket_, bytes.data(), bytes.size(), MSG_DONTWAIT,
                            reinterpret_cast<const sockaddr*>(&address_), addressLength_);
    if (sent == static_cast<ssize_t>(bytes.size()))
        return true;
    error = target_ + ": " + std::strerror(errno);
    return false;
}

} // namespace korvel
