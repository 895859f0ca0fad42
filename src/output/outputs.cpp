#include "output/outputs.h"

#include "platform/platform.h"

#include <algorithm>

namespace korvel {

Outputs::Outputs(Platform& platform) : platform_(platform), tcpServer_(platform.winsock) {
    SocketArray& sockets = platform.winsock;
    sockets.onConnectionRequest = [this](int index, long requestId) {
        if (index == 0)
            tcpServer_.accept(requestId, settings.tcpClientLimit);
    };
    // Clients cannot influence the output: what they send is read and dropped.
    sockets.onDataArrival = [this](int index, long) { platform_.winsock.getData(index); };
}

void Outputs::route(const std::string& chosen) {
    tcp_.reset();
    routes_.assign(1, RouteOf(chosen));
    for (const std::string& entry : settings.alsoTo)
        routes_.push_back(RouteOf(entry));
}

bool Outputs::sendsTo(Destination destination) const {
    return std::any_of(routes_.begin(), routes_.end(),
                       [destination](const Route& r) { return r.destination == destination; });
}

std::optional<OutputFailure> Outputs::open() {
    failed_.clear();
    for (const Route& route : routes_) {
        const std::string& entry = route.entry;
        std::string error;
        bool opened = true;
        switch (route.destination) {
        case Destination::Tcp:
            if (std::optional<OutputFailure> failure = listen())
                return failure;
            break;
        case Destination::Pty:
            if (!platform_.pty.open(settings.ptyLink, error))
                return OutputFailure{"Output", "PTY cannot be opened: " + error};
            break;
        case Destination::Udp:
            opened = platform_.udp.open(settings.udpHost, settings.udpPort, error);
            break;
        case Destination::Printer:
            opened = platform_.printers.probe(entry, error);
            break;
        case Destination::Uart:
            break;
        case Destination::Serial:
            if (route.comPort) {
                platform_.comm1.setCommPort(route.comPort);
                opened = platform_.comm1.open(error);
            }
            break;
        }
        if (!opened)
            return OutputFailure{"Output", entry + " cannot be opened: " + error};
    }
    for (OutgoingConnection& connection : connections) {
        std::string error;
        if (!connection.open(error))
            return OutputFailure{"Output", connection.target() + " cannot be connected: " + error};
    }
    return std::nullopt;
}

std::optional<OutputFailure> Outputs::listen() {
    std::string error;
    if (!tcpServer_.listen(settings.tcpAddress, settings.tcpPort, error))
        return OutputFailure{"TCP", "The TCP server cannot listen: " + error};
    return std::nullopt;
}

std::string Outputs::ptyWhere() const {
    return platform_.pty.slavePath() + " (" + settings.ptyLink + ")";
}

bool Outputs::send(const std::string& sentence) {
    bool took = false;
    for (const Route& route : routes_)
        took = deliverTo(route, sentence) || took;
    if (!connections.empty())
        took = sendToConnections(sentence) || took;
    lastTaken_ = took;
    if (took && onTaken)
        onTaken(sentence);
    return took;
}

bool Outputs::deliverTo(const Route& route, const std::string& sentence) {
    const std::string& entry = route.entry;
    std::string error;
    switch (route.destination) {
    case Destination::Tcp:
        tcp_ = tcpServer_.send(sentence, keepWaiting ? &keepWaiting : nullptr);
        return tcp_->took && !tcp_->waitGivenUp;
    case Destination::Pty:
        if (keepWaiting ? platform_.pty.writeAll(sentence, keepWaiting)
                        : platform_.pty.write(sentence))
            return true;
        error = platform_.pty.slavePath() + " takes no sentences";
        break;
    case Destination::Udp:
        if (platform_.udp.send(sentence, keepWaiting != nullptr, error))
            return true;
        break;
    case Destination::Uart:
        if (!platform_.portIO.available(error)) {
            fail(entry, entry + ": " + error);
            return false;
        }
        platform_.portIO.transmit(route.uartAddress, sentence, kUartByteGapMs);
        return true;
    case Destination::Printer:
        if (platform_.printers.write(entry, sentence, error))
            return true;
        break;
    case Destination::Serial:
        if (!platform_.comm1.isOpen())
            return false;
        if (platform_.comm1.output(sentence) &&
            (!keepWaiting || platform_.comm1.drain(keepWaiting)))
            return true;
        error = entry + " (" + platform_.comm1.deviceName() +
                ") takes no sentences: the device has gone or fails";
        break;
    }
    // A wait that was given up for a stop is no failure of the destination.
    if (!keepWaiting || keepWaiting())
        fail(entry, error);
    return false;
}

bool Outputs::sendToConnections(const std::string& sentence) {
    bool took = false;
    std::vector<std::string> notices;
    for (OutgoingConnection& connection : connections)
        took = connection.send(sentence, keepWaiting ? &keepWaiting : nullptr, notices) || took;
    notify(notices);
    return took;
}

void Outputs::notify(const std::vector<std::string>& notices) {
    if (onNotice)
        for (const std::string& notice : notices)
            onNotice(notice, false);
}

bool Outputs::connectionUnreached() const {
    return std::any_of(connections.begin(), connections.end(),
                       [](const OutgoingConnection& c) { return c.neverReached(); });
}

void Outputs::fail(const std::string& entry, const std::string& what) {
    // Once per destination and run: a message for every sentence would bury the user.
    if (failed_.insert(entry).second)
        newFailures_.push_back({"Output", "The sentences cannot be sent: " + what});
}

void Outputs::deliverTheRest() {
    if (!keepWaitingAtEnd)
        return;
    // The pseudo-terminal stays open for the next run; its reader gets this one's end first.
    if (sendsTo(Destination::Pty))
        platform_.pty.drain(keepWaitingAtEnd);
    if (platform_.comm1.isOpen())
        platform_.comm1.drain(keepWaitingAtEnd);
    platform_.winsock.drain(keepWaitingAtEnd);
}

void Outputs::close() {
    deliverTheRest();
    if (platform_.comm1.isOpen())
        platform_.comm1.close();
    tcpServer_.closeClients();
    for (const OutgoingConnection& connection : connections)
        if (std::string summary = connection.summary(); !summary.empty() && onNotice)
            onNotice(summary, connection.neverReached());
}

} // namespace korvel
