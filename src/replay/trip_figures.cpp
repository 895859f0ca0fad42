#include "replay/trip_figures.h"

namespace korvel {

std::optional<double> TripFigures::addPoint(double lat, double lon, bool fromStartWanted) {
    GlobePosition here = OnGlobe(lat, lon);
    if (!hasStart_) {
        start_ = here;
        hasStart_ = true;
    }
    std::optional<DistanceAndCourse> leg;
    if (hasPrevious_)
        leg = ComputeDistanceAndCourse(previous_, here);
    std::optional<double> fromStart;
    if (fromStartWanted || !leg || !leg->course) {
        DistanceAndCourse start = ComputeDistanceAndCourse(start_, here);
        legMetres_ = start.metres;
        fromStart = std::round(start.metres);
        if (start.course)
            legCourse_ = start.course;
    }
    if (leg) {
        legMetres_ = leg->metres;
        if (leg->course)
            legCourse_ = leg->course;
    }
    previous_ = here;
    hasPrevious_ = true;
    distance_ += legMetres_;
    return fromStart;
}

void TripFigures::measureLeg(double fromLat, double fromLon, double toLat, double toLon) {
    DistanceAndCourse leg =
        ComputeDistanceAndCourse(OnGlobe(fromLat, fromLon), OnGlobe(toLat, toLon));
    legMetres_ = leg.metres;
    if (leg.course)
        legCourse_ = leg.course;
}

std::optional<double> TripFigures::legSpeed(std::optional<double> at) {
    std::optional<double> kmh;
    if (at && previousAt_ && *at > *previousAt_)
        kmh = legMetres_ * 3.6 / (*at - *previousAt_);
    previousAt_ = at;
    return kmh;
}

bool TripFigures::takeSpeed(double kmh) {
    if (kmh <= fastest_)
        return false;
    fastest_ = kmh;
    return true;
}

void TripFigures::forgetPoints() {
    hasStart_ = hasPrevious_ = false;
    previousAt_.reset();
}

std::optional<long long> TripFigures::minutesAt(long long at) {
    if (!clockStarted_) {
        clockStart_ = at;
        clockStarted_ = true;
    }
    long long minutes = (at - clockStart_) / 60;
    if (minutes < 0 || minutes >= 100)
        return std::nullopt;
    return minutes;
}

} // namespace korvel
