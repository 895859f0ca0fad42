// The pseudo-terminal and the UDP socket on POSIX.
#pragma once

#include "platform/stream_devices.h"

#include <cstdint>
#include <deque>
#include <netinet/in.h>
#include <string>

namespace korvel {

class PosixPseudoTerminal : public PseudoTerminal {
  public:
    ~PosixPseudoTerminal() override;
    bool open(const std::string& link, std::string& error) override;
    bool isOpen() const override { return master_ >= 0; }
    void removeStaleLink(const std::string& link) override;
    std::string slavePath() const override { return slave_; }
    bool write(const std::string& bytes) override;
    bool writeAll(const std::string& bytes, const std::function<bool()>& keepWaiting) override;
    bool drain(const std::function<bool()>& keepWaiting) override;

  private:
    struct Sentence {
        std::int64_t sentAt; // monotonic ms
        std::string bytes;
        bool ending = false; // the end of a sentence its reader has begun: never dropped
    };
    // Hands the terminal the sentences that wait, as far as it has room for them whole, after
    // dropping what no reader took within a second.
    void pump();
    // Drops what the terminal holds when its reader has left it unread for a second; the end of
    // a sentence the reader has begun stays, so that it gets no part of one.
    void dropUnread(std::int64_t now);
    // What the reader has not taken yet of what the terminal holds.
    int unread() const;
    // The bytes of the sentences in handed_.
    size_t handedBytes() const;
    // Writes the rest of a sentence the terminal took in part; true when none is left.
    bool finishStarted();
    // Makes the link to the slave, or says why it cannot be made.
    bool makeLink(const std::string& link, std::string& error);

    int master_ = -1;
    int slaveKeeper_ = -1; // holds the slave open, so that writes never fail for want of a reader
    int linkClaim_ = -1;   // tells other running programs that the link is this one's
    std::string slave_, link_;
    std::string started_;           // the part of the bytes not yet taken
    std::deque<Sentence> waiting_;  // not handed to the terminal yet
    std::deque<Sentence> handed_;   // the latest handed to the terminal, which it may hold
    std::int64_t lastHandedAt_ = 0; // when the terminal was last handed a sentence
};

class PosixDatagramSender : public DatagramSender {
  public:
    ~PosixDatagramSender() override;
    bool open(const std::string& host, int port, std::string& error) override;
    bool send(const std::string& bytes, bool paced, std::string& error) override;

  private:
    int socket_ = -1, family_ = AF_UNSPEC;
    sockaddr_storage address_{};
    socklen_t addressLength_ = 0;
    std::string target_; // host:port, for messages
    int burst_ = 0;      // datagrams sent paced since the last pause
};

} // namespace korvel
