// Manual mode's stream: on every tick the position set by hand leaves as RMC, GGA and VTG with
// the clock's time, the course and distance taken from the point where the leg began.
#pragma once

#include "manual/manual_motion.h"
#include "manual/manual_position.h"
#include "platform/clock.h"
#include "replay/replay_options.h"
#include "replay/sentence_sink.h"
#include "replay/trip_figures.h"

#include <optional>

namespace korvel {

class ManualStream {
  public:
    ManualStream(TripFigures& trip, LatestSentences& latest) : trip_(trip), latest_(latest) {}

    ManualPosition position;
    // A position that moves on its own, sent in its place with its speed and course.
    std::optional<ManualMotion> motion;
    SentenceStyle style; // of every sentence sent
    // The coordinates moved since the last tick: 1 latitude, 2 longitude. When only one moved,
    // the other moves by 0.0001' too, so that a listener sees both change.
    int moved = 0;
    // Where the leg began and the position sent last, in signed minutes of arc (negative south
    // and west); no start while both start values are 0.
    double startLat = 0, startLon = 0, currentLat = 0, currentLon = 0;
    double lastLegDistance = 0; // whole metres, of the last tick with a start
    int lastCourse = 0;         // the course of the last leg that moved

    bool started() const { return startLat != 0 || startLon != 0; }
    // Manual mode begins: no leg yet.
    void begin() { startLat = startLon = lastLegDistance = 0; }

    // What a tick sent: whether a leg had begun, its distance and course.
    struct Tick {
        bool started = false;
        double legDistance = 0, legCourse = 0;
    };
    // The position's sentences that sentences asks for, at utcNow, to sink; the RMC and GGA
    // become the latest.
    Tick tick(const LocalDateTime& utcNow, const SentenceSet& sentences, SentenceSink& sink);

  private:
    TripFigures& trip_;
    LatestSentences& latest_;
};

} // namespace korvel
