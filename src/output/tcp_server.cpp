#include "output/tcp_server.h"

#include "platform/socket_array.h"

#include <algorithm>

namespace korvel {

bool TcpServer::listen(const std::string& address, int port, std::string& error) {
    if (sockets_.state(0) != kSocketClosed)
        sockets_.close(0);
    return sockets_.listen(address, port, error);
}

bool TcpServer::listening() const {
    return sockets_.state(0) != kSocketClosed;
}

void TcpServer::accept(long requestId, int limit) {
    // Clients that have gone count until the next line sweeps them out, or now, when they
    // would keep a new one away. A client over the limit is not accepted: the socket array
    // turns it away at once.
    auto full = [&] { return static_cast<int>(clients_.size()) >= limit; };
    if (full())
        std::erase_if(clients_, [this](int i) { return !stays(i); });
    if (full())
        return;
    // The lowest element number free.
    int element = nextElement_;
    if (freed_.empty())
        ++nextElement_;
    else
        element = freed_.extract(freed_.begin()).value();
    sockets_.load(element);
    sockets_.accept(element, requestId);
    clients_.push_back(element);
}

TcpServer::Delivery TcpServer::send(const std::string& line,
                                    const std::function<bool()>* keepWaiting) {
    Delivery delivery;
    delivery.hadClients = !clients_.empty();
    // By position, each time against the list as it is: clients that come while a line waits
    // for room join at the end.
    for (size_t k = 0; k < clients_.size();) {
        int i = clients_[k];
        if (!stays(i)) {
            clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(k));
            continue;
        }
        delivery.addresses += sockets_.remoteHostIP(i) + " ";
        if (keepWaiting && !sockets_.waitForRoom(i, *keepWaiting)) {
            delivery.waitGivenUp = true;
            return delivery;
        }
        // A client that cannot take the line does not cost the others theirs.
        delivery.took = sockets_.sendData(i, line) || delivery.took;
        ++k;
    }
    return delivery;
}

bool TcpServer::clientConnected() const {
    return std::any_of(clients_.begin(), clients_.end(),
                       [this](int i) { return sockets_.state(i) == kSocketConnected; });
}

void TcpServer::closeClients() {
    for (int i : clients_) {
        if (sockets_.state(i) != kSocketClosed)
            sockets_.close(i);
        sockets_.unload(i);
    }
    clients_.clear();
    freed_.clear();
    nextElement_ = 1;
}

bool TcpServer::stays(int element) {
    int state = sockets_.state(element);
    if (state == kSocketConnected)
        return true;
    if (state == kSocketClosing)
        sockets_.close(element);
    // What the element held goes back to the system, and its number to the next client.
    sockets_.unload(element);
    freed_.insert(element);
    return false;
}

} // namespace korvel
