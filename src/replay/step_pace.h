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

// An option of the interval, in the window's order (x8, x4, x2, cont, 1s, 2s, 4s, 8s): the records
// a step takes and the period between steps.
struct IntervalOption {
    int step = 1;
    double periodMs = 100;
};
inline IntervalOption IntervalOptionAt(int index) {
    static const int steps[] = {8, 4, 2};
    static const double periods[] = {1000, 2000, 4000, 8000};
    if (index < 3)
        return {steps[index], 100};
    return {1, index > 3 ? periods[index - 4] : 100};
}

// Manual mode's period for each interval option: cont, 1 s and 2 s; 0 where manual mode does
// not offer the option.
constexpr int kManualPeriodMs[] = {0, 0, 0, 100, 1000, 2000, 0, 0};

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

// An interval given in seconds paces every record on its own time: the next is due everyMs after
// the one before (dueMs, moved on here), however long the steps took; the wait until then, none
// for a record already due. Behind by more than a period, the count starts again from the
// record just sent rather than sending the missed ones in a burst.
inline int NextRecordIn(double everyMs, double& dueMs, double nowMs) {
    dueMs += everyMs;
    if (dueMs < nowMs - everyMs)
        dueMs = nowMs + everyMs;
    return dueMs > nowMs ? static_cast<int>(Round(dueMs - nowMs)) : 0;
}

} // namespace korvel
