// A replay paced by its records' own times (the headless runner's --speed): the wait before
// each record is the time since the record before it, divided by the speed.
#pragma once

#include "output/sentence_time.h"

#include <optional>

namespace korvel {

class RecordPace {
  public:
    // speed: 0.1 to 1000, 1 being real time; intervalMs: the wait where times do not tell it.
    RecordPace(double speed, int intervalMs) : speed_(speed), intervalMs_(intervalMs) {}
    // The milliseconds to wait before sending a record of this time after the one before. The
    // first record goes at once; a record without time, or after one without, waits one
    // interval, as does a gap of more than a minute; a time before the last one (midnight, the
    // next log) waits one interval and the pacing starts again from it.
    int waitBefore(const std::optional<SentenceTime>& time);

  private:
    double speed_;
    int intervalMs_;
    bool first_ = true;
    std::optional<SentenceTime> previous_;
};

} // namespace korvel
