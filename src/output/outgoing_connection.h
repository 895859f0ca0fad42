// A connection Korvel makes to a program that listens (--connect), kept for the whole run: when
// the other side is not there yet or goes away, it is tried again after a pause that doubles
// from half a second to half a minute. Meanwhile the sentences are not kept: the other side
// gets the current ones when it is back.
#pragma once

#include "output/host_port.h"
#include "platform/clock.h"
#include "platform/stream_devices.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

inline constexpr std::int64_t kFirstRetryMs = 500, kLongestRetryMs = 30'000;

class OutgoingConnection {
  public:
    OutgoingConnection(HostPort address, std::unique_ptr<OutgoingLink> link, const Clock& clock);

    // host:port as messages name it.
    std::string target() const;
    // Looks the host up and starts the first connection; false with why when it cannot.
    bool open(std::string& error);
    // Sends the sentence while connected (waiting for room while keepWaiting says so), first
    // connecting again when the time has come; what the user should hear goes to notices.
    bool send(const std::string& sentence, const std::function<bool()>* keepWaiting,
              std::vector<std::string>& notices);
    // What the end of a run says: the sentences lost while the other side was away, or that it
    // was never reached; "" when there is nothing to say.
    std::string summary() const;
    bool neverReached() const { return taken_ == 0; }

  private:
    // Follows the connection's state, connecting again when the pause is over.
    void keepUp(std::vector<std::string>& notices);

    HostPort address_;
    std::unique_ptr<OutgoingLink> link_;
    const Clock& clock_;
    bool up_ = false, attempting_ = false, saidDown_ = false;
    std::int64_t retryAt_ = 0, pauseMs_ = kFirstRetryMs;
    std::string lastWhy_;
    long taken_ = 0, lost_ = 0;
};

} // namespace korvel
