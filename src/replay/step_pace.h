// The pace of a replay on the wire: a tick of the replay timer brings a step 100 ms later (so
// that "cont", a tick every 100 ms, sends five records a second); the timer's period is the
// interval option's, a second's pause after a loop back to the start, six seconds between the
// newest records of a file that grows.
#pragma once

#include "text/conversions.h"

#include <optional>

namespace korvel {

constexpr int kStepDelayMs = 100;
constexpr int kFirstTickMs = 100;
constexpr int kLoopPauseMs = 1000;
constexpr int kNewestPeriodMs = 6000;

// The timer's period after a record whose step took stepMs from its tick: intervals of a second
// and more keep their period, so the step's time comes off them (none when the step took longer:
// the period stays as it was).
inline std::optional<int> TickAfterRecord(double intervalMs, double stepMs) {
    if (intervalMs <= 999)
        return static_cast<int>(intervalMs);
    if (intervalMs > stepMs)
        return static_cast<int>(Round(intervalMs - stepMs));
    return std::nullopt;
}

} // namespace korvel
