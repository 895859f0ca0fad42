// The figures of a trip that a replay and manual mode show and send: the leg from the point
// before, the distance from the start and along the way, the speed over the leg and the fastest
// speed. Positions are signed minutes of arc (negative south and west), distances whole metres,
// courses whole degrees, speeds whole km/h.
#pragma once

#include <optional>

namespace korvel {

class TripFigures {
  public:
    // The next point of a replay: the leg from the point before becomes the leg, and counts
    // into the distance along the way. The leg from the start is measured when it is wanted (its
    // distance is shown) or when the leg before gives no course (the first point, or one not
    // moved): its course is then the one kept. Returns the distance from the start, when it was
    // measured.
    std::optional<double> addPoint(double lat, double lon, bool fromStartWanted);
    // The leg between two points, its course kept where they coincide: manual mode's leg from
    // its start point.
    void measureLeg(double fromLat, double fromLon, double toLat, double toLon);
    // The speed over the last leg from the point's time of day in seconds (a leg past midnight
    // included): none for the first time, or the same time again.
    std::optional<double> legSpeed(double secondsOfDay);
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
    // A run's first point has course 000, whatever the run before it ended with.
    void forgetCourse() { legCourse_ = 0; }
    // The next record starts the trip's clock.
    void forgetClock() { clockStarted_ = false; }

    bool started() const { return hasStart_; }
    double legDistance() const { return legDistance_; }
    double legCourse() const { return legCourse_; }
    double distance() const { return distance_; }
    double fastest() const { return fastest_; }

  private:
    bool hasStart_ = false, hasPrevious_ = false;
    double startLat_ = 0, startLon_ = 0, prevLat_ = 0, prevLon_ = 0;
    double prevSeconds_ = 0; // 0: no time before
    double legDistance_ = 0, legCourse_ = 0, distance_ = 0, fastest_ = 0;
    bool clockStarted_ = false;
    long long clockStart_ = 0; // seconds since 1970 of the trip's first record
};

} // namespace korvel
