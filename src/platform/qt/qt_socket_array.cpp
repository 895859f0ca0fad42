#include "platform/qt/qt_socket_array.h"

#include "replay/other_core.h"

#include <QHostAddress>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <linux/sockios.h>
#include <malloc.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
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

} // namespace

QtSocketArray::QtSocketArray() {
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
    for (auto& [index, element] : elements_) {
        delete element.writable;
        delete element.readable;
        element.writable = element.readable = nullptr;
        release(element, false);
    }
    for (auto& [id, descriptor] : requests_)
        CloseClient(descriptor);
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
    // Its notifiers may be the ones whose signal is being handled (a failure said in a message
    // runs events meanwhile): they go once it has returned.
    for (QSocketNotifier* notifier : {element.writable, element.readable})
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    element.writable = element.readable = nullptr;
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
    element.writable = new QSocketNotifier(descriptor, QSocketNotifier::Write);
    element.writable->setEnabled(false);
    QObject::connect(element.writable, &QSocketNotifier::activated,
                     [this, index] { writeOut(index, elements_[index]); });
    element.readable = new QSocketNotifier(descriptor, QSocketNotifier::Read);
    QObject::connect(element.readable, &QSocketNotifier::activated,
                     [this, index] { readIn(index, elements_[index]); });
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
        element.readable->setEnabled(false);
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
            !element.writable->isEnabled())
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
    element.writable->setEnabled(!element.pending.empty());
}

void QtSocketArray::peerGone(int index, Element& element, int error) {
    element.peerClosed = true;
    // Nothing is to be written to it or read from it any more.
    if (element.writable)
        element.writable->setEnabled(false);
    if (element.readable)
        element.readable->setEnabled(false);
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
