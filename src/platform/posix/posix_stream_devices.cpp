#include "platform/posix/posix_stream_devices.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <netdb.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace korvel {

PosixPseudoTerminal::~PosixPseudoTerminal() {
    if (master_ >= 0)
        ::close(master_);
    if (slaveKeeper_ >= 0)
        ::close(slaveKeeper_);
    std::error_code ec;
    if (!link_.empty() && std::filesystem::is_symlink(link_, ec))
        std::filesystem::remove(link_, ec);
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
    // The reader gets the bytes as they are: no echo, no line editing, no CR LF translation.
    slaveKeeper_ = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    if (slaveKeeper_ >= 0 && tcgetattr(slaveKeeper_, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(slaveKeeper_, TCSANOW, &raw);
    }
    master_ = master;
    std::error_code ec;
    if (!link.empty()) {
        if (std::filesystem::is_symlink(link, ec))
            std::filesystem::remove(link, ec);
        std::filesystem::create_symlink(slave_, link, ec);
        if (ec) {
            error = "the link " + link + " cannot be made: " + ec.message();
            return true; // the terminal itself works; its own path still serves
        }
        link_ = link;
    }
    return true;
}

bool PosixPseudoTerminal::write(const std::string& bytes) {
    if (master_ < 0)
        return false;
    ssize_t n = ::write(master_, bytes.data(), bytes.size());
    return n == static_cast<ssize_t>(bytes.size());
}

PosixDatagramSender::~PosixDatagramSender() {
    if (socket_ >= 0)
        ::close(socket_);
}

bool PosixDatagramSender::send(const std::string& host, int port, const std::string& bytes,
                               std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* address = nullptr;
    int failed = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &address);
    if (failed != 0) {
        error = host + ": " + gai_strerror(failed);
        return false;
    }
    if (socket_ < 0) {
        socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        int on = 1;
        setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on); // when the user asks for it
    }
    ssize_t sent = ::sendto(socket_, bytes.data(), bytes.size(), MSG_DONTWAIT, address->ai_addr,
                            address->ai_addrlen);
    freeaddrinfo(address);
    if (sent == static_cast<ssize_t>(bytes.size()))
        return true;
    error = host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return false;
}

} // namespace korvel
