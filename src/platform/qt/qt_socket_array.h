// The socket array on Qt: element 0 is a QTcpServer, every other element one client's
// connection. The clients' descriptors are watched in one epoll set, which the event loop
// watches: a wake costs what is ready, not what is connected, however many clients there are.
// A client that closes its sending side is still a reader: only a connection that is reset or
// fails is gone.
#pragma once

#include "platform/qt/leaving_clients.h"
#include "platform/socket_array.h"

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTimer>
#include <map>

namespace korvel {

class QtSocketArray : public SocketArray {
  public:
    QtSocketArray();
    ~QtSocketArray() override;

    bool listen(const std::string& address, int port, std::string& error) override;
    void load(int index) override;
    void unload(int index) override;
    void accept(int index, long requestId) override;
    int state(int index) const override;
    bool sendData(int index, const std::string& bytes) override;
    std::string getData(int index) override;
    void close(int index) override;
    std::string remoteHostIP(int index) const override;

    bool waitForRoom(int index, const std::function<bool()>& keepWaiting) override;
    bool drain(const std::function<bool()>& keepWaiting) override;

    // Bytes a client may leave unread before it is let go: its share of the bound on all
    // clients, no more than the bound on one.
    static constexpr size_t kMaxBacklog = 1 << 20, kTotalBacklog = 64 << 20;
    // Bytes a client may have waiting when the sender waits for every client, at most half
    // its share.
    static constexpr size_t kRoom = 64 * 1024;

  private:
    // The server hands over each connection's descriptor as it is accepted.
    class Server : public QTcpServer {
      public:
        std::function<void(qintptr)> onAccepted;

      protected:
        void incomingConnection(qintptr descriptor) override { onAccepted(descriptor); }
    };
    struct Element {
        int descriptor = -1;
        bool watched = false;    // in the epoll set
        bool reading = false;    // watched until the client closes its sending side
        bool writing = false;    // watched while bytes wait for the system to take them
        bool peerClosed = false; // reset or failed: nothing more reaches it
        bool lineOpen = false;   // the system holds the start of a line whose end still waits
        std::string peer;        // the client's address, asked for with every sentence sent
        std::string pending;     // lines the system has not taken yet, in order
        std::string received;    // what the client sent, until it is asked for (bounded)
    };
    void onAccepted(int descriptor);
    // Watches the element's connection for what the client sends (reading) and for room
    // (writing); its failure is always noticed, until it is unwatched.
    void watch(int index, Element& element, bool reading, bool writing);
    void unwatch(Element& element);
    // Serves the connections the epoll set says are ready.
    void serveReady();
    // What one client may leave unread now.
    size_t backlogAllowed() const;
    // Takes note of the clients whose connections the system knows to have ended; whether
    // there were any.
    bool noticeGonePeers();
    // Closes the element's connection. A client is never left with part of a line: when the
    // system holds the start of one, its end goes out before the connection closes. abandon:
    // what else waits is dropped (a client that does not read); otherwise it goes out first.
    void release(Element& element, bool abandon);
    // Hands what waits for every client to the system in one tight pass.
    void flushPending();
    // Hands the system what it takes of one client's waiting bytes.
    void writeOut(int index, Element& element);
    // Takes what the client sent; its end of sending only stops the reading.
    void readIn(int index, Element& element);
    // The client's connection is reset or failed (error: the errno).
    void peerGone(int index, Element& element, int error);
    // Waits while more than room bytes wait for the element's client and it takes them.
    bool waitUntilTaken(int index, size_t room, const std::function<bool()>& keepWaiting);
    // Takes note that the system took taken of the element's waiting bytes (error: the errno
    // of the send).
    void taken(int index, Element& element, ssize_t taken, int error);
    // Clients from which the sending is shared by two cores.
    static constexpr size_t kSharedFrom = 64;
    // Connections the system may hold waiting to be accepted (it caps this at its own limit).
    static constexpr int kListenQueue = 4096;

    int epoll_;
    QSocketNotifier ready_;
    Server server_;
    std::map<int, Element> elements_;
    std::map<long, int> requests_; // descriptors of connections asking to be accepted
    long nextRequest_ = 1;
    LeavingClients leaving_;
    QTimer flush_; // fires once the handler that sent has returned
    QTimer trim_;  // gives freed backlogs back to the system, once for many clients gone
    static constexpr int kFirstAcceptPauseMs = 50, kLongestAcceptPauseMs = 2000;
    int acceptPauseMs_ = kFirstAcceptPauseMs;
};

} // namespace korvel
