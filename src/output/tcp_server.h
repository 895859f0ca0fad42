// The TCP server of the stream: element 0 of the socket array listens, every client has an
// element of its own and gets the same lines. Clients over the limit are turned away as they
// come; clients that have gone are let go, and their element numbers used again.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace korvel {

class SocketArray;

class TcpServer {
  public:
    explicit TcpServer(SocketArray& sockets) : sockets_(sockets) {}

    // Listens at address and port anew (a server listening already moves; its clients stay);
    // false with why in error.
    bool listen(const std::string& address, int port, std::string& error);
    bool listening() const;
    // A client asks to connect: it is served unless limit clients are served already.
    void accept(long requestId, int limit);

    struct Delivery {
        bool took = false;       // at least one client took the line
        bool hadClients = false; // there were clients to send it to
        bool waitGivenUp = false;
        std::string addresses; // of the clients there, each followed by a blank
    };
    // Sends line to every client. keepWaiting, when given: each client's line waits for room
    // as long as it says so.
    Delivery send(const std::string& line, const std::function<bool()>* keepWaiting);
    // Whether a client is connected now.
    bool clientConnected() const;
    // Lets every client go; the server goes on listening.
    void closeClients();
    // The socket elements of the clients, in the order they came.
    const std::vector<int>& clients() const { return clients_; }

  private:
    // Whether the client of element is still there; one that has gone is let go and its
    // element unloaded.
    bool stays(int element);

    SocketArray& sockets_;
    std::vector<int> clients_;
    // Element numbers below nextElement_ that no client holds.
    std::set<int> freed_;
    int nextElement_ = 1;
};

} // namespace korvel
