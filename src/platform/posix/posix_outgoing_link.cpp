#include "platform/posix/posix_outgoing_link.h"

#include "platform/posix/address_lookup.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvel {

namespace {

// How long a sentence that waits for room sleeps between looks at the socket.
constexpr int kWaitSliceMs = 50;

} // namespace

PosixOutgoingLink::~PosixOutgoingLink() {
    if (socket_ >= 0)
        ::close(socket_);
}

bool PosixOutgoingLink::resolve(const std::string& host, int port, std::string& error) {
    return LookUpAddress(host, port, SOCK_STREAM, address_, error);
}

void PosixOutgoingLink::connect() {
    if (socket_ >= 0)
        ::close(socket_);
    rest_.clear();
    socket_ = ::socket(address_.family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket_ < 0) {
        down(std::strerror(errno));
        return;
    }
    state_ = State::Connecting;
    if (::connect(socket_, reinterpret_cast<const sockaddr*>(&address_.address), address_.length) ==
        0)
        state_ = State::Up;
    else if (errno != EINPROGRESS)
        down(std::strerror(errno));
}

void PosixOutgoingLink::down(const std::string& why) {
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
    state_ = State::Down;
    why_ = why;
}

OutgoingLink::State PosixOutgoingLink::state(std::string& why, int waitMs) {
    if (socket_ >= 0) {
        pollfd look{socket_, POLLIN | POLLOUT, 0};
        if (::poll(&look, 1, state_ == State::Connecting ? waitMs : 0) == 1) {
            if (state_ == State::Connecting && (look.revents & (POLLOUT | POLLERR | POLLHUP))) {
                int error = 0;
                socklen_t size = sizeof error;
                getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &size);
                if (error != 0)
                    down(std::strerror(error));
                else
                    state_ = State::Up;
            }
            char dropped[4096];
            while (state_ == State::Up && (look.revents & (POLLIN | POLLHUP | POLLERR))) {
                ssize_t n = ::recv(socket_, dropped, sizeof dropped, MSG_DONTWAIT);
                if (n == 0)
                    down("the other side closed the connection");
                else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                    down(std::strerror(errno));
                else if (n < 0)
                    break;
            }
        }
    }
    why = why_;
    return state_;
}

bool PosixOutgoingLink::sendNow(std::string_view& part) {
    while (!part.empty() && state_ == State::Up) {
        ssize_t sent = ::send(socket_, part.data(), part.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent > 0)
            part.remove_prefix(static_cast<size_t>(sent));
        else if (errno == EAGAIN || errno == EWOULDBLOCK)
            return false;
        else if (errno != EINTR)
            down(std::strerror(errno));
    }
    return part.empty();
}

bool PosixOutgoingLink::waitForRoom(const std::function<bool()>* keepWaiting) {
    if (state_ != State::Up || !keepWaiting || !(*keepWaiting)())
        return false;
    pollfd room{socket_, POLLOUT, 0};
    ::poll(&room, 1, kWaitSliceMs);
    return true;
}

bool PosixOutgoingLink::write(const std::string& bytes, const std::function<bool()>* keepWaiting) {
    // The end of a sentence the socket took in part goes first: the other side never gets one
    // cut short.
    std::string_view rest = rest_;
    while (!sendNow(rest))
        if (!waitForRoom(keepWaiting)) {
            rest_ = std::string(rest);
            return false;
        }
    rest_.clear();
    std::string_view part = bytes;
    while (!sendNow(part))
        if (!waitForRoom(keepWaiting)) {
            // A sentence begun has its end sent later; one the socket took none of is dropped.
            if (state_ == State::Up && part.size() < bytes.size()) {
                rest_ = std::string(part);
                return true;
            }
            return false;
        }
    return true;
}

} // namespace korvel
