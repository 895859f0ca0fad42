// Time as the simulator sees it: the PC clock for displays and sentences, a monotonic clock
// for durations, blocking sleeps and the window's event pump.
#pragma once

#include "form/control.h"

#include <cstdint>

namespace korvel {

struct LocalDateTime {
    int year, month, day, hour, minute, second;
    int weekday; // 1 = Sunday ... 7 = Saturday
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    // The same moment in universal time, as sentences carry it.
    virtual LocalDateTime utcNow() const = 0;
    // Milliseconds on a clock that never goes back.
    virtual std::int64_t monotonicMs() const = 0;
    // Lets pending window events run.
    virtual void DoEvents() = 0;
    // Keeps time for a window timer from now on: runs its onTimer every interval while it is
    // enabled; a change of interval or of enabled starts the countdown again.
    virtual void attach(Timer& timer) = 0;
};

} // namespace korvel
