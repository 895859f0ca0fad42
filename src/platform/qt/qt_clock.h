// Time from the machine: the PC clock, a monotonic clock, blocking sleeps, the event loop's
// pending events, and a QTimer behind each window timer.
#pragma once

#include "platform/clock.h"

#include <QTimer>
#include <map>
#include <memory>

namespace korvel {

class QtClock : public Clock {
  public:
    LocalDateTime now() const override;
    LocalDateTime utcNow() const override;
    std::int64_t monotonicMs() const override;
    void DoEvents() override;
    void attach(Timer& timer) override;

  private:
    std::map<Timer*, std::unique_ptr<QTimer>> timers_;
    std::int64_t lastEvents_ = 0;
    unsigned calls_ = 0; // of DoEvents, to look at the clock once in many calls
};

} // namespace korvel
