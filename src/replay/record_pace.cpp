#include "replay/record_pace.h"

#include <cmath>

namespace korvel {

int RecordPace::waitBefore(const std::optional<SentenceTime>& time) {
    std::optional<SentenceTime> previous = previous_;
    bool first = first_;
    previous_ = time;
    first_ = false;
    if (first)
        return 0;
    if (!time || !previous)
        return intervalMs_;
    // A time of day only, on either side: compared as times of day.
    auto ms = [both = time->dated && previous->dated](const SentenceTime& t) {
        return (both ? t.seconds : t.seconds % 86400) * 1000 + t.millis;
    };
    std::int64_t elapsed = ms(*time) - ms(*previous);
    if (elapsed < 0 || elapsed > 60'000)
        return intervalMs_;
    return static_cast<int>(std::lround(static_cast<double>(elapsed) / speed_));
}

} // namespace korvel
