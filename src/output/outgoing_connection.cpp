#include "output/outgoing_connection.h"

#include <algorithm>

namespace korvel {

namespace {

// How long a run that waits for its readers waits at a time for a connection under way.
constexpr int kConnectWaitMs = 50;

} // namespace

OutgoingConnection::OutgoingConnection(HostPort address, std::unique_ptr<OutgoingLink> link,
                                       const Clock& clock)
    : address_(std::move(address)), link_(std::move(link)), clock_(clock) {}

std::string OutgoingConnection::target() const {
    const std::string& host = address_.host;
    return (host.find(':') == std::string::npos ? host : "[" + host + "]") + ":" +
           std::to_string(address_.port);
}

bool OutgoingConnection::open(std::string& error) {
    if (!link_->resolve(address_.host, address_.port, error))
        return false;
    link_->connect();
    attempting_ = true;
    return true;
}

void OutgoingConnection::keepUp(std::vector<std::string>& notices) {
    std::string why;
    OutgoingLink::State state = link_->state(why);
    std::int64_t now = clock_.monotonicMs();
    if (state == OutgoingLink::State::Down && !up_ && !attempting_ && now >= retryAt_) {
        link_->connect();
        attempting_ = true;
        state = link_->state(why);
    }
    if (state == OutgoingLink::State::Up && !up_) {
        up_ = true;
        attempting_ = saidDown_ = false;
        pauseMs_ = kFirstRetryMs;
        notices.push_back("connected to " + target());
    } else if (state == OutgoingLink::State::Down && up_) {
        // Gone: tried again at once, said once until it is back.
        up_ = false;
        saidDown_ = true;
        retryAt_ = now;
        lastWhy_ = why;
        notices.push_back(target() + " went away (" + why + "); connecting again");
    } else if (state == OutgoingLink::State::Down && attempting_) {
        attempting_ = false;
        lastWhy_ = why;
        if (!saidDown_)
            notices.push_back(target() + ": " + why + "; trying again every 0.5 to 30 s");
        saidDown_ = true;
        retryAt_ = now + pauseMs_;
        pauseMs_ = std::min(pauseMs_ * 2, kLongestRetryMs);
    }
}

bool OutgoingConnection::send(const std::string& sentence, const std::function<bool()>* keepWaiting,
                              std::vector<std::string>& notices) {
    keepUp(notices);
    if (attempting_ && keepWaiting) {
        // A run that waits for its readers waits for the connection under way too.
        std::string why;
        while ((*keepWaiting)() &&
               link_->state(why, kConnectWaitMs) == OutgoingLink::State::Connecting)
            continue;
        keepUp(notices);
    }
    bool took = up_ && link_->write(sentence, keepWaiting);
    if (up_ && !took)
        keepUp(notices); // a write that found the other side gone
    (took ? taken_ : lost_)++;
    return took;
}

std::string OutgoingConnection::summary() const {
    if (taken_ == 0)
        return target() + " was never reached" + (lastWhy_.empty() ? "" : " (" + lastWhy_ + ")");
    if (lost_ == 0)
        return "";
    return target() + " missed " + std::to_string(lost_) + " of " + std::to_string(taken_ + lost_) +
           " sentences while it was away or had no room";
}

} // namespace korvel
