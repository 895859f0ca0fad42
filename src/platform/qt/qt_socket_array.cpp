#include "platform/qt/qt_socket_array.h"

#include "replay/other_core.h"

#include <QHostAddress>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <linux/sockios.h>
#include <malloc.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace korvel {

namespace {

// The address of the client at the other end, an IPv4 one as such.
std::string peerOf(int descriptor) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getpeername(descriptor, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return "";
    QHostAddress peer(reinterpret_cast<sockaddr*>(&address));
    bool mapped = false;
    quint32 v4 = peer.toIPv4Address(&mapped);
    return (mapped ? QHostAddress(v4) : peer).toString().toStdString();
}

// What a client sent that nobody asked for yet is kept up to this, the newest.
constexpr size_t kMostReceived = 64 * 1024;

// Why a connection the system reports failed or hung up has ended.
int failureOf(int descriptor) {
    int error = 0;
    socklen_t size = sizeof error;
    getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &size);
    return error != 0 ? error : ECONNRESET;
}

} // namespace

QtSocketArray::QtSocketArray()
    : epoll_(epoll_create1(EPOLL_CLOEXEC)), ready_(epoll_, QSocketNotifier::Read) {
    QObject::connect(&ready_, &QSocketNotifier::activated, [this] { serveReady(); });
    server_.onAccepted = [this](qintptr descriptor) { onAccepted(static_cast<int>(descriptor)); };
    // Out of descriptors or memory, accepting again at once would only spin: the server waits,
    // longer each time, and the clients wait in the system's queue meanwhile.
    QObject::connect(&server_, &QTcpServer::acceptError, [this](QAbstractSocket::SocketError) {
        server_.pauseAccepting();
        QTimer::singleShot(acceptPauseMs_, &server_, [this] { server_.resumeAccepting(); });
        acceptPauseMs_ = std::min(acceptPauseMs_ * 2, kLongestAcceptPauseMs);
    });
    // Memory that clients' backlogs held goes back to the system once they have gone.
    trim_.setSingleShot(true);
    trim_.setInterval(1000);
    QObject::connect(&trim_, &QTimer::timeout, [] { malloc_trim(0); });
    flush_.setSingleShot(true);
    flush_.setInterval(0);
    QObject::connect(&flush_, &QTimer::timeout, [this] { flushPending(); });
}

QtSocketArray::~QtSocketArray() {
    for (auto& [index, element] : elements_)
        release(element, false);
    for (auto& [id, descriptor] : requests_)
        CloseClient(descriptor);
    ready_.setEnabled(false);
    ::close(epoll_);
}

bool QtSocketArray::listen(const std::string& address, int port, std::string& error) {
    QHostAddress at(QHostAddress::Any);
    if (!address.empty() && address != "*" && !at.setAddress(QString::fromStdString(address))) {
        error = address + " is not an address of this machine";
        return false;
    }
    // A crowd connecting at once waits in the system's queue, not in SYN retries.
    server_.setListenBacklogSize(kListenQueue);
    if (server_.listen(at, static_cast<quint16>(port)))
        return true;
    error = "port " + std::to_string(port) + ": " + server_.errorString().toStdString();
    return false;
}

bool QtSocketArray::noticeGonePeers() {
    std::vector<pollfd> descriptors;
    std::vector<std::pair<const int, Element>*> elements;
    for (auto& entry : elements_)
        if (entry.second.descriptor >= 0 && !entry.second.peerClosed) {
            descriptors.push_back({entry.second.descriptor, 0, 0});
            elements.push_back(&entry);
        }
    if (poll(descriptors.data(), descriptors.size(), 0) <= 0)
        return false;
    bool any = false;
    for (size_t i = 0; i < descriptors.size(); ++i)
        if (descriptors[i].revents & POLLERR) {
            peerGone(elements[i]->first, elements[i]->second, ECONNRESET);
            any = true;
        }
    return any;
}

void QtSocketArray::onAccepted(int descriptor) {
    acceptPauseMs_ = kFirstAcceptPauseMs;
    long id = nextRequest_++;
    requests_[id] = descriptor;
    if (onConnectionRequest)
        onConnectionRequest(0, id);
    // A client that reset its connection just before this one came may not have been noticed
    // yet: noticed now, its place is free for the newcomer. Only then: looking at every client
    // for each newcomer would make a crowd's arrival cost the square of its size.
    if (requests_.count(id) && noticeGonePeers() && onConnectionRequest)
        onConnectionRequest(0, id);
    // A request nobody accepted is turned away.
    if (auto it = requests_.find(id); it != requests_.end()) {
        CloseClient(it->second);
        requests_.erase(it);
    }
}

void QtSocketArray::load(int index) {
    elements_[index];
}

void QtSocketArray::unload(int index) {
    if (auto it = elements_.find(index); it != elements_.end()) {
        release(it->second, false);
        elements_.erase(it);
    }
}

void QtSocketArray::release(Element& element, bool abandon) {
    unwatch(element);
    if (element.descriptor >= 0) {
        if (abandon || element.pending.size() > backlogAllowed() / 2)
            element.pending.erase(element.lineOpen ? element.pending.find('\n') + 1 : 0);
        if (element.peerClosed) {
            CloseClient(element.descriptor);
        } else {
            // What is left goes out before the connection closes; a client that takes none of
            // it within half a minute is let go, one that took nothing for seconds already
            // within seconds more.
            leaving_.add(element.descriptor, element.pending, abandon ? 5000 : 30000);
        }
        element.descriptor = -1;
    }
    element.peerClosed = element.lineOpen = false;
    if (element.pending.capacity() > kRoom && !trim_.isActive())
        trim_.start();
    std::string().swap(element.pending);
    element.received.clear();
}

size_t QtSocketArray::backlogAllowed() const {
    return std::min(kTotalBacklog / std::max<size_t>(1, elements_.size()), kMaxBacklog);
}

void QtSocketArray::accept(int index, long requestId) {
    auto request = requests_.find(requestId);
    if (request == requests_.end())
        return;
    Element& element = elements_[index];
    release(element, false);
    int descriptor = element.descriptor = request->second;
    requests_.erase(request);
    element.peer = peerOf(descriptor);
    // A record goes out at once: held back until the client acknowledges the one before, it
    // would wait for the client's delayed acknowledgement, tens of milliseconds.
    int on = 1;
    setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    watch(index, element, true, false);
}

void QtSocketArray::watch(int index, Element& element, bool reading, bool writing) {
    if (element.watched && reading == element.reading && writing == element.writing)
        return;
    epoll_event event{};
    event.events = (reading ? EPOLLIN : 0u) | (writing ? EPOLLOUT : 0u);
    // The descriptor beside the index: a connection closed while its readiness waits to be
    // served is not taken for the one given its element next.
    event.data.u64 = static_cast<std::uint64_t>(static_cast<std::uint32_t>(element.descriptor))
                         << 32 |
                     static_cast<std::uint32_t>(index);
    epoll_ctl(epoll_, element.watched ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, element.descriptor, &event);
    element.watched = true;
    element.reading = reading;
    element.writing = writing;
}

void QtSocketArray::unwatch(Element& element) {
    if (element.watched)
        epoll_ctl(epoll_, EPOLL_CTL_DEL, element.descriptor, nullptr);
    element.watched = element.reading = element.writing = false;
}

void QtSocketArray::serveReady() {
    epoll_event events[256];
    int count = epoll_wait(epoll_, events, 256, 0);
    for (int i = 0; i < count; ++i) {
        int index = static_cast<int>(static_cast<std::uint32_t>(events[i].data.u64));
        int descriptor = static_cast<int>(events[i].data.u64 >> 32);
        // Served before in this pass may have let it go.
        auto element = [&]() -> Element* {
            auto it = elements_.find(index);
            return it != elements_.end() && it->second.descriptor == descriptor &&
                           it->second.watched
                       ? &it->second
                       : nullptr;
        };
        std::uint32_t ready = events[i].events;
        if (Element* e = element(); e && e->reading && (ready & (EPOLLIN | EPOLLERR | EPOLLHUP)))
            readIn(index, *e);
        else if (e && (ready & (EPOLLERR | EPOLLHUP)))
            peerGone(index, *e, failureOf(descriptor));
        if (Element* e = element(); e && e->writing && (ready & EPOLLOUT))
            writeOut(index, *e);
    }
}

void QtSocketArray::readIn(int index, Element& element) {
    char bytes[65536];
    ssize_t n;
    while ((n = ::recv(element.descriptor, bytes, sizeof bytes, MSG_DONTWAIT)) > 0) {
        element.received.append(bytes, static_cast<size_t>(n));
        if (element.received.size() > kMostReceived)
            element.received.erase(0, element.received.size() - kMostReceived);
    }
    if (n == 0) {
        // The client has closed its sending side: it may read on.
        watch(index, element, false, element.writing);
    } else if (errno != EAGAIN && errno != EINTR) {
        peerGone(index, element, errno);
        return;
    }
    if (!element.received.empty() && onDataArrival)
        onDataArrival(index, static_cast<long>(element.received.size()));
}

int QtSocketArray::state(int index) const {
    if (index == 0)
        return server_.isListening() ? kSocketListening : kSocketClosed;
    auto it = elements_.find(index);
    if (it == elements_.end() || it->second.descriptor < 0)
        return kSocketClosed;
    return it->second.peerClosed ? kSocketClosing : kSocketConnected;
}

bool QtSocketArray::sendData(int index, const std::string& bytes) {
    if (state(index) != kSocketConnected)
        return false;
    Element& element = elements_[index];
    // A client that does not read would make the program hold ever more for it: past its
    // share of the bound on all clients it is let go, and the others go on.
    if (element.pending.size() + bytes.size() > backlogAllowed()) {
        release(element, true);
        return false;
    }
    // The sentences of one tick go out together, to every client in one pass: a write per
    // client and sentence through the event loop's notifiers would keep the last of a
    // thousand clients waiting tens of milliseconds behind the first.
    element.pending += bytes;
    if (!flush_.isActive())
        flush_.start();
    return true;
}

bool QtSocketArray::waitForRoom(int index, const std::function<bool()>& keepWaiting) {
    return waitUntilTaken(index, std::min(kRoom, backlogAllowed() / 2), keepWaiting);
}

bool QtSocketArray::drain(const std::function<bool()>& keepWaiting) {
    for (auto& [index, element] : elements_) {
        if (!waitUntilTaken(index, 0, keepWaiting))
            return false;
        // The client has the bytes once the system's queue for it is empty: a program that
        // ended before would leave them to a system that gives up on a client that pauses.
        int queued = 0, idle = 0;
        while (state(index) == kSocketConnected && idle < 50 &&
               ioctl(element.descriptor, SIOCOUTQ, &queued) == 0 && queued > 0) {
            int before = queued;
            poll(nullptr, 0, 100);
            if (!keepWaiting())
                return false;
            ioctl(element.descriptor, SIOCOUTQ, &queued);
            idle = queued < before ? 0 : idle + 1;
        }
    }
    return true;
}

bool QtSocketArray::waitUntilTaken(int index, size_t room,
                                   const std::function<bool()>& keepWaiting) {
    int idle = 0;
    for (;;) {
        auto it = elements_.find(index);
        if (it == elements_.end() || state(index) != kSocketConnected ||
            it->second.pending.size() <= room)
            return true;
        size_t before = it->second.pending.size();
        writeOut(index, it->second);
        if (it->second.pending.size() < before) {
            idle = 0;
            continue;
        }
        pollfd ready{it->second.descriptor, POLLOUT, 0};
        poll(&ready, 1, 100);
        if (!keepWaiting())
            return false;
        // Five seconds without taking a byte: a client that does not read is let go, once and
        // for good, so that it holds up neither this sentence nor the next for the others.
        if (++idle >= 50) {
            release(it->second, true);
            return true;
        }
    }
}

void QtSocketArray::flushPending() {
    // Straight to the system; many clients are served on both cores, each a half.
    struct Send {
        int index;
        Element* element;
        ssize_t taken = 0;
        int error = 0; // each thread has its own errno
    };
    std::vector<Send> sends;
    for (auto& [index, element] : elements_)
        if (!element.pending.empty() && element.descriptor >= 0 && !element.peerClosed &&
            !element.writing)
            sends.push_back({index, &element});
    auto sendAll = [](Send* from, Send* to) {
        for (Send* send = from; send != to; ++send) {
            const std::string& bytes = send->element->pending;
            send->taken = ::send(send->element->descriptor, bytes.data(), bytes.size(),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
            send->error = errno;
        }
    };
    Send *first = sends.data(), *end = first + sends.size();
    Send* share = end; // where this thread's share ends
    std::thread other;
    if (sends.size() >= kSharedFrom) {
        try {
            other = std::thread(sendAll, first + sends.size() / 2, end);
            MoveToAnotherCore(other);
            share = first + sends.size() / 2;
        } catch (const std::system_error&) {
            // No thread to be had: this one sends to all.
        }
    }
    sendAll(first, share);
    if (other.joinable())
        other.join();
    for (const Send& send : sends)
        taken(send.index, *send.element, send.taken, send.error);
}

void QtSocketArray::writeOut(int index, Element& element) {
    if (element.descriptor < 0 || element.peerClosed)
        return;
    const std::string& bytes = element.pending;
    ssize_t n = bytes.empty() ? 0
                              : ::send(element.descriptor, bytes.data(), bytes.size(),
                                       MSG_NOSIGNAL | MSG_DONTWAIT);
    taken(index, element, n, errno);
}

void QtSocketArray::taken(int index, Element& element, ssize_t taken, int error) {
    if (taken > 0) {
        element.lineOpen = element.pending[static_cast<size_t>(taken) - 1] != '\n';
        element.pending.erase(0, static_cast<size_t>(taken));
    } else if (taken < 0 && error != EAGAIN && error != EINTR) {
        peerGone(index, element, error); // reset by the client, or otherwise gone
        return;
    }
    // What the system did not take goes when it has room.
    watch(index, element, element.reading, !element.pending.empty());
}

void QtSocketArray::peerGone(int index, Element& element, int error) {
    element.peerClosed = true;
    // Nothing is to be written to it or read from it any more.
    unwatch(element);
    // A peer that goes away is a closing connection, not an error.
    if (error != ECONNRESET && error != EPIPE && error != ETIMEDOUT && onError)
        onError(index, 10000 + error, std::strerror(error));
}

std::string QtSocketArray::getData(int index) {
    auto it = elements_.find(index);
    if (it == elements_.end())
        return "";
    return std::exchange(it->second.received, std::string());
}

void QtSocketArray::close(int index) {
    if (index == 0) {
        server_.close();
        return;
    }
    if (auto it = elements_.find(index); it != elements_.end())
        release(it->second, false);
}

std::string QtSocketArray::remoteHostIP(int index) const {
    auto it = elements_.find(index);
    return it == elements_.end() || it->second.descriptor < 0 ? "" : it->second.peer;
}

} // namespace korvel
