// The figures of a trip that a replay and manual mode show and send: the leg from the point
// before, the distance from the start and along the way, the speed over the leg and the fastest
// speed. Positions are signed minutes of arc (negative south and west), distances metres,
// courses whole degrees, speeds km/h.
#pragma once

#include "replay/distance_course.h"

#include <cmath>
#include <optional>

namespace korvel {

class TripFigures {
  public:
    // The next point of a replay: the leg from the point before becomes the leg, and counts
    // into the distance along the way. The leg from the start is measured when it is wanted (its
    // distance is shown) or when the leg before gives no course (the first point, or one not
    // moved): its course is then the one kept. Returns the distance from the start in whole metres,
    // when it was measured.
    std::optional<double> addPoint(double lat, double lon, bool fromStartWanted);
    // The leg between two points, its course kept where they coincide: manual mode's leg from
    // its start point.
    void measureLeg(double fromLat, double fromLon, double toLat, double toLon);
    // The speed over the last leg from the point's moment in seconds since 1970: none without a
    // moment before it, or where the time stands or runs back.
    std::optional<double> legSpeed(std::optional<double> at);
    // Whether kmh is the fastest of the trip so far; it is kept when it is.
    bool takeSpeed(double kmh);
    // The whole minutes from the trip's first record to a record at `at` (seconds since 1970);
    // the first record starts the trip's clock. None where the trip must start again: a record
    // before its start, or 100 minutes and more after it.
    std::optional<long long> minutesAt(long long at);

    // The next point is a start again: no start, no point before it, no time before it.
    void forgetPoints();
    void forgetFastest() { fastest_ = 0; }
    void forgetDistance() { distance_ = 0; }
    // A run's first point has no course, whatever the run before it ended with.
    void forgetCourse() { legCourse_.reset(); }
    // The next record starts the trip's clock.
    void forgetClock() { clockStarted_ = false; }

    bool started() const { return hasStart_; }
    // Whole metres, as shown.
    double legDistance() const { return std::round(legMetres_); }
    // None until a leg has moved.
    std::optional<double> legCourse() const { return legCourse_; }
    double distance() const { return distance_; }
    double fastest() const { return fastest_; }

  private:
    bool hasStart_ = false, hasPrevious_ = false;
    GlobePosition start_, previous_;
    std::optional<double> previousAt_;
    std::optional<double> legCourse_;
    double legMetres_ = 0, distance_ = 0, fastest_ = 0;
    bool clockStarted_ = false;
    long long clockStart_ = 0; // seconds since 1970 of the trip's first record
};

} // namespace korvel
