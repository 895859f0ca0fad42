// Where a run's sentences go: the destinations of the port-list entries it names, opened once
// as the run starts, every sentence handed to each of them. What fails comes back as a value;
// telling the user is the front end's part.
#pragma once

#include "output/outgoing_connection.h"
#include "output/port_entries.h"
#include "output/route.h"
#include "output/tcp_server.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace korvel {

struct Platform;

constexpr const char* kLoopbackAddress = "127.0.0.1";
constexpr int kDefaultTcpClients = 1000, kMostTcpClients = 100000;

struct OutputSettings {
    // The most clients served at once: those over it are turned away as they come, so that
    // the program keeps descriptors and memory for the rest.
    int tcpClientLimit = kDefaultTcpClients;
    int tcpPort = kDefaultTcpPort;
    // The address the server listens at: this computer's own (loopback) unless told, as a
    // server without authentication should; "*" for every address of the machine. The LAN box
    // switches between loopback and tcpLanAddress.
    std::string tcpAddress = kLoopbackAddress, tcpLanAddress = "*";
    // Further entries of the port list that get the same stream (the headless runner's --port
    // given more than once): one serial port, TCP, PTY, UDP, printer and UART ports.
    std::vector<std::string> alsoTo;
    std::string ptyLink, udpHost; // the pseudo-terminal's link and the datagrams' address
    int udpPort = 10110;
};

// A destination that cannot take the stream, in the words the user is told.
struct OutputFailure {
    std::string title;
    std::string text;
};

class Outputs {
  public:
    explicit Outputs(Platform& platform);
    Outputs(const Outputs&) = delete;
    Outputs& operator=(const Outputs&) = delete;

    OutputSettings settings;
    // When set, every sentence waits until its destination has taken it, however long a reader
    // pauses, rather than being dropped; asked while it waits (the caller runs events in it):
    // false ends the wait.
    std::function<bool()> keepWaiting;
    // When set, the end of a run waits until every reader has taken what was sent, as long as
    // this says so (asked now and then; the caller runs events in it).
    std::function<bool()> keepWaitingAtEnd;
    // Told of every sentence, with its CR LF, that at least one destination took.
    std::function<void(const std::string&)> onTaken;
    // Told what the user should hear of the connections made (connected, gone, back; what one
    // missed), failure set where the run failed by it (a listener never reached).
    std::function<void(const std::string&, bool failure)> onNotice;
    // The connections made to programs that listen, each given the stream too.
    std::vector<OutgoingConnection> connections;

    // The destinations of chosen and of settings.alsoTo, told from their entries.
    void route(const std::string& chosen);
    bool sendsTo(Destination destination) const;
    const std::vector<Route>& routes() const { return routes_; }
    // Whether the entry chosen (not one of alsoTo) is routed to destination.
    bool chosenIs(Destination destination) const {
        return !routes_.empty() && routes_.front().destination == destination;
    }
    // Opens every destination routed, forgetting the failures of a run before; the first that
    // cannot be opened.
    std::optional<OutputFailure> open();
    // Listens at the settings' address and port (a server listening already moves there).
    std::optional<OutputFailure> listen();
    // The pseudo-terminal's device and its link, as the user finds them.
    std::string ptyWhere() const;

    // Sends a sentence with its CR LF to every destination; whether at least one took it.
    bool send(const std::string& sentence);
    // Whether a destination took the last sentence sent.
    bool lastTaken() const { return lastTaken_; }
    // What the TCP server did with the last sentence, when it is a destination.
    const std::optional<TcpServer::Delivery>& tcpDelivery() const { return tcp_; }
    // The destinations that failed for the first time in this run since the last call.
    bool newFailures() const { return !newFailures_.empty(); }
    std::vector<OutputFailure> takeFailures() { return std::exchange(newFailures_, {}); }
    // Whether a connection made never took a sentence: the run reached none of its readers.
    bool connectionUnreached() const;
    // Whether a destination failed in this run, and whether every one did.
    bool anyFailed() const { return !failed_.empty(); }
    bool everyFailed() const { return anyFailed() && failed_.size() >= routes_.size(); }
    // While keepWaitingAtEnd lets it, waits until every reader has taken what was sent: the end
    // of a run before the program may end.
    void deliverTheRest();
    // The run ends: the rest delivered, the serial port closed, the TCP clients let go; what
    // the connections missed is told.
    void close();
    TcpServer& tcpServer() { return tcpServer_; }

  private:
    bool deliverTo(const Route& route, const std::string& sentence);
    // Apart from the destinations' loop, which every sentence of a run passes through.
    [[gnu::noinline]] bool sendToConnections(const std::string& sentence);
    void notify(const std::vector<std::string>& notices);
    void fail(const std::string& entry, const std::string& what);

    Platform& platform_;
    std::vector<Route> routes_;
    std::set<std::string> failed_; // the entries that failed in this run
    std::vector<OutputFailure> newFailures_;
    std::optional<TcpServer::Delivery> tcp_;
    bool lastTaken_ = true;
    TcpServer tcpServer_;
};

} // namespace korvel
