#include "platform/qt/qt_socket_array.h"

#include "control/other_core.h"

#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <vector>

namespace korvel {

namespace {

// The error numbers of the socket layer that the form knows.
int errorNumber(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::NetworkError:
        return 10054;
    default:
        return 10000 + static_cast<int>(error);
    }
}

} // namespace

QtSocketArray::QtSocketArray() {
    QObject::connect(&server_, &QTcpServer::newConnection, [this] { onNewConnection(); });
    flush_.setSingleShot(true);
    flush_.setInterval(0);
    QObject::connect(&flush_, &QTimer::timeout, [this] { flushPending(); });
}

QtSocketArray::~QtSocketArray() {
    for (auto& [index, element] : elements_)
        release(element);
}

bool QtSocketArray::listen(int port, std::string& error) {
    if (server_.listen(QHostAddress::Any, static_cast<quint16>(port)))
        return true;
    error = "port " + std::to_string(port) + ": " + server_.errorString().toStdString();
    return false;
}

void QtSocketArray::onNewConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        long id = nextRequest_++;
        requests_[id] = socket;
        if (onConnectionRequest)
            onConnectionRequest(0, id);
        // A request nobody accepted is turned away.
        if (auto it = requests_.find(id); it != requests_.end()) {
            it->second->abort();
            it->second->deleteLater();
            requests_.erase(it);
        }
    }
}

void QtSocketArray::load(int index) {
    elements_[index];
}

void QtSocketArray::unload(int index) {
    if (auto it = elements_.find(index); it != elements_.end()) {
        release(it->second);
        elements_.erase(it);
    }
}

void QtSocketArray::release(Element& element) {
    if (QTcpSocket* socket = element.socket) {
        if (!element.peerClosed)
            writeOut(element);
        socket->disconnect();
        // A client that reads gets what was sent before its connection is closed; one that
        // does not read is let go at once.
        if (element.peerClosed || socket->bytesToWrite() > kMaxBacklog / 2) {
            socket->abort();
            socket->deleteLater();
        } else {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromHost();
            if (socket->state() == QAbstractSocket::UnconnectedState)
                socket->deleteLater();
        }
        element.socket = nullptr;
    }
    element.peerClosed = false;
    element.pending.clear();
}

void QtSocketArray::accept(int index, long requestId) {
    auto request = requests_.find(requestId);
    if (request == requests_.end())
        return;
    Element& element = elements_[index];
    release(element);
    element.socket = request->second;
    requests_.erase(request);
    QTcpSocket* socket = element.socket;
    QHostAddress address = socket->peerAddress();
    bool mapped = false;
    quint32 v4 = address.toIPv4Address(&mapped);
    element.peer = (mapped ? QHostAddress(v4) : address).toString().toStdString();
    // A record goes out at once: held back until the client acknowledges the one before, it
    // would wait for the client's delayed acknowledgement, tens of milliseconds.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QObject::connect(socket, &QTcpSocket::disconnected,
                     [this, index] { elements_[index].peerClosed = true; });
    QObject::connect(socket, &QTcpSocket::readyRead, [this, index, socket] {
        if (onDataArrival)
            onDataArrival(index, static_cast<long>(socket->bytesAvailable()));
    });
    QObject::connect(socket, &QTcpSocket::errorOccurred, [this, index, socket](auto error) {
        // A peer that goes away is a closing connection, not an error.
        if (error == QAbstractSocket::RemoteHostClosedError) {
            elements_[index].peerClosed = true;
            return;
        }
        if (onError)
            onError(index, errorNumber(error), socket->errorString().toStdString());
    });
}

int QtSocketArray::state(int index) const {
    if (index == 0)
        return server_.isListening() ? kSocketListening : kSocketClosed;
    auto it = elements_.find(index);
    if (it == elements_.end() || !it->second.socket)
        return kSocketClosed;
    if (it->second.peerClosed || it->second.socket->state() != QAbstractSocket::ConnectedState)
        return kSocketClosing;
    return kSocketConnected;
}

bool QtSocketArray::sendData(int index, const std::string& bytes) {
    if (state(index) != kSocketConnected)
        return false;
    Element& element = elements_[index];
    // A client that does not read would make the program hold ever more for it: past the
    // bound it is let go, and the others go on.
    if (element.socket->bytesToWrite() +
            static_cast<qint64>(element.pending.size() + bytes.size()) >
        kMaxBacklog) {
        release(element);
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

void QtSocketArray::flushPending() {
    // Straight to the system for every client with nothing waiting in its socket's own
    // buffer, so that the order holds; many clients are served on both cores, each a half.
    struct Send {
        Element* element;
        int descriptor;
        size_t taken = 0;
    };
    std::vector<Send> sends;
    for (auto& [index, element] : elements_)
        if (!element.pending.empty() && element.socket && element.socket->bytesToWrite() == 0)
            sends.push_back({&element, static_cast<int>(element.socket->socketDescriptor())});
    auto sendAll = [](Send* from, Send* to) {
        for (Send* send = from; send != to; ++send) {
            const std::string& bytes = send->element->pending;
            ssize_t taken =
                ::send(send->descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            send->taken = taken > 0 ? static_cast<size_t>(taken) : 0;
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
        send.element->pending.erase(0, send.taken);
    // What the system did not take waits in the socket's buffer.
    for (auto& [index, element] : elements_) {
        if (!element.pending.empty() && element.socket)
            element.socket->write(element.pending.data(),
                                  static_cast<qint64>(element.pending.size()));
        element.pending.clear();
    }
}

void QtSocketArray::writeOut(Element& element) {
    if (element.pending.empty() || !element.socket)
        return;
    std::string_view rest = element.pending;
    // Straight to the system while nothing waits in the socket's own buffer, so that the order
    // holds; what the system does not take now waits there.
    if (element.socket->bytesToWrite() == 0) {
        ssize_t taken = ::send(static_cast<int>(element.socket->socketDescriptor()), rest.data(),
                               rest.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        rest.remove_prefix(taken > 0 ? static_cast<size_t>(taken) : 0);
    }
    if (!rest.empty())
        element.socket->write(rest.data(), static_cast<qint64>(rest.size()));
    element.pending.clear();
}

std::string QtSocketArray::getData(int index) {
    auto it = elements_.find(index);
    if (it == elements_.end() || !it->second.socket)
        return "";
    return it->second.socket->readAll().toStdString();
}

void QtSocketArray::close(int index) {
    if (index == 0) {
        server_.close();
        return;
    }
    if (auto it = elements_.find(index); it != elements_.end())
        release(it->second);
}

std::string QtSocketArray::remoteHostIP(int index) const {
    auto it = elements_.find(index);
    return it == elements_.end() || !it->second.socket ? "" : it->second.peer;
}

} // namespace korvel
