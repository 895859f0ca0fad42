// The pseudo-terminal and the UDP socket on POSIX.
#pragma once

#include "platform/stream_devices.h"

#include <cstdint>
#include <deque>
#include <netinet/in.h>
#include <utility>

namespace korvel {

class PosixPseudoTerminal : public PseudoTerminal {
  public:
    ~PosixPseudoTerminal() override;
    bool open(const std::string& link, std::string& error) override;
    bool isOpen() const override { return master_ >= 0; }
    std::string slavePath() const override { return slave_; }
    bool write(const std::string& bytes) override;
    bool writeAll(const std::string& bytes, const std::function<bool()>& keepWaiting) override;
    bool drain(const std::function<bool()>& keepWaiting) override;

  private:
    // Drops what no reader took within the last second.
    void dropStale(std::int64_t now);
    // Writes the rest of a sentence the terminal took in part; true when none is left.
    bool finishStarted();
    // Makes the link to the slave, or says why it cannot be made.
    bool makeLink(const std::string& link, std::string& error);

    int master_ = -1;
    int slaveKeeper_ = -1; // holds the slave open, so that writes never fail for want of a reader
    int linkClaim_ = -1;   // tells other running programs that the link is this one's
    std::string slave_, link_;
    std::string started_;                                // the part of the bytes not yet taken
    std::deque<std::pair<std::int64_t, size_t>> recent_; // monotonic ms and bytes written
};

class PosixDatagramSender : public DatagramSender {
  public:
    ~PosixDatagramSender() override;
    bool open(const std::string& host, int port, std::string& error) override;
    bool send(const std::string& bytes, std::string& error) override;

  private:
    int socket_ = -1, family_ = AF_UNSPEC;
    sockaddr_storage address_{};
    socklen_t addressLength_ = 0;
    std::string target_; // host:port, for messages
};

} // namespace korvel
