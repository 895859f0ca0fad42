// The destinations Linux programs read a GPS from: a pseudo-terminal, which any program opens
// like a serial port, UDP datagrams, and a TCP connection made to a program that listens.
#pragma once

#include <functional>
#include <string>

namespace korvel {

class PseudoTerminal {
  public:
    virtual ~PseudoTerminal() = default;
    // Opens the terminal once and keeps it while the program runs, with a link of the given
    // path to its slave side. On failure (the link cannot be made, or another running program
    // holds it) returns false and says why in error.
    virtual bool open(const std::string& link, std::string& error) = 0;
    virtual bool isOpen() const = 0;
    // Removes a link at that path to a pseudo-terminal that no running program holds: a run
    // that was killed left it, and the terminal's number may serve someone else's by now.
    virtual void removeStaleLink(const std::string& link) = 0;
    // The slave's own path (/dev/pts/N).
    virtual std::string slavePath() const = 0;
    // Writes bytes without waiting, whole or not at all: a reader never gets part of them.
    // What no reader took within a second is dropped first, so that a reader who comes gets
    // the current bytes, not old ones. False when nothing could be written.
    virtual bool write(const std::string& bytes) = 0;
    // Writes all of bytes, waiting for a reader to take them; keepWaiting is asked now and
    // then and false gives up. False when the bytes were not all written.
    virtual bool writeAll(const std::string& bytes, const std::function<bool()>& keepWaiting) = 0;
    // Waits until a reader has taken everything written, asking keepWaiting now and then.
    virtual bool drain(const std::function<bool()>& keepWaiting) = 0;
};

class DatagramSender {
  public:
    virtual ~DatagramSender() = default;
    // Looks up host:port for the datagrams that follow; false with a reason when it cannot.
    virtual bool open(const std::string& host, int port, std::string& error) = 0;
    // Sends bytes as one datagram; false with a reason when it cannot. paced: datagrams follow
    // each other as fast as they come, and a receiver on this machine is given time to keep up.
    virtual bool send(const std::string& bytes, bool paced, std::string& error) = 0;
};

// A TCP connection this program makes to another that listens: a multiplexer, a chart plotter,
// a Signal K server.
class OutgoingLink {
  public:
    enum class State { Down, Connecting, Up };
    virtual ~OutgoingLink() = default;
    // Looks host:port up, once for every connection after; false with why when it cannot.
    virtual bool resolve(const std::string& host, int port, std::string& error) = 0;
    // Starts a connection without waiting for it, closing the one before.
    virtual void connect() = 0;
    // Where the connection stands, waiting up to waitMs for a connection under way; why, when
    // it is down. What the other side sends is read and dropped here: it cannot steer the
    // stream.
    virtual State state(std::string& why, int waitMs = 0) = 0;
    // Sends bytes, whole or not at all: without keepWaiting, what the other side has no room
    // for now is dropped; with it, the bytes wait for room while it says so. False when the
    // bytes were not sent.
    virtual bool write(const std::string& bytes, const std::function<bool()>* keepWaiting) = 0;
};

} // namespace korvel
