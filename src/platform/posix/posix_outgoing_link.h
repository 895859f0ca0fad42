// A TCP connection made to a program that listens, on POSIX sockets that never block.
#pragma once

#include "platform/posix/address_lookup.h"
#include "platform/stream_devices.h"

#include <string>
#include <string_view>

namespace korvel {

class PosixOutgoingLink : public OutgoingLink {
  public:
    PosixOutgoingLink() = default;
    PosixOutgoingLink(const PosixOutgoingLink&) = delete;
    PosixOutgoingLink& operator=(const PosixOutgoingLink&) = delete;
    ~PosixOutgoingLink() override;

    bool resolve(const std::string& host, int port, std::string& error) override;
    void connect() override;
    State state(std::string& why, int waitMs) override;
    bool write(const std::string& bytes, const std::function<bool()>* keepWaiting) override;

  private:
    void down(const std::string& why);
    // Sends what the socket takes of part now; whether all of it went.
    bool sendNow(std::string_view& part);
    // Waits a little for room while keepWaiting says so; false when it does not.
    bool waitForRoom(const std::function<bool()>* keepWaiting);

    SocketAddress address_;
    int socket_ = -1;
    State state_ = State::Down;
    std::string why_;
    // The end of a sentence the socket took in part, sent before anything else: the other side
    // never gets a sentence cut short, and nothing more waits here.
    std::string rest_;
};

} // namespace korvel
