#include "replay/trip_figures.h"

#include "replay/distance_course.h"
#include "text/conversions.h"

namespace korvel {

std::optional<double> TripFigures::addPoint(double lat, double lon, bool fromStartWanted) {
    if (!hasStart_) {
        startLat_ = lat;
        startLon_ = lon;
        hasStart_ = true;
    }
    std::optional<DistanceAndCourse> leg;
    if (hasPrevious_)
        leg = ComputeDistanceAndCourse(prevLat_, lat, prevLon_, lon, legCourse_);
    std::optional<double> fromStart;
    if (fromStartWanted || !leg || leg->distance == 0) {
        DistanceAndCourse start =
            ComputeDistanceAndCourse(startLat_, lat, startLon_, lon, legCourse_);
        legDistance_ = *(fromStart = start.distance);
        legCourse_ = start.course;
    }
    if (leg) {
        legDistance_ = leg->distance;
        if (leg->distance != 0)
            legCourse_ = leg->course;
    }
    prevLat_ = lat;
    prevLon_ = lon;
    hasPrevious_ = true;
    distance_ += legDistance_;
    return fromStart;
}

void TripFigures::measureLeg(double fromLat, double fromLon, double toLat, double toLon) {
    DistanceAndCourse leg = ComputeDistanceAndCourse(fromLat, toLat, fromLon, toLon, legCourse_);
    legDistance_ = leg.distance;
    legCourse_ = leg.course;
}

std::optional<double> TripFigures::legSpeed(double secondsOfDay) {
    std::optional<double> kmh;
    if (prevSeconds_ != 0 && prevSeconds_ != secondsOfDay) {
        double elapsed = secondsOfDay - prevSeconds_;
        if (elapsed < 0)
            elapsed += 86400; // past midnight
        kmh = Int(legDistance_ * 3.6 / elapsed);
    }
    prevSeconds_ = secondsOfDay;
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
    prevSeconds_ = 0;
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
