// TCP clients being let go: each gets what is left for it (the end of a line it has the start
// of) before its connection closes, or is closed when it takes none of it in time.
#pragma once

#include <QSocketNotifier>
#include <map>
#include <memory>
#include <string>

namespace korvel {

class LeavingClients {
  public:
    LeavingClients() = default;
    ~LeavingClients();
    LeavingClients(const LeavingClients&) = delete;
    LeavingClients& operator=(const LeavingClients&) = delete;

    // Takes over the connection's descriptor: rest goes out, then the connection closes; after
    // withinMs it closes whatever is left.
    void add(int descriptor, std::string rest, int withinMs);

  private:
    struct Leaving {
        std::string rest;
        std::unique_ptr<QSocketNotifier> writable;
        long serial; // tells this connection from a later one given the same descriptor
    };
    void writeRest(int descriptor);
    void close(int descriptor);

    std::map<int, Leaving> leaving_;
    long added_ = 0;
    QObject timers_; // the deadlines go with this object
};

// Closes a client's connection so that the bytes the system holds for it still go out: what
// the client sent and nobody read is taken first (else the system would reset the connection).
void CloseClient(int descriptor);

} // namespace korvel
