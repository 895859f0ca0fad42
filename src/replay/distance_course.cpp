#include "replay/distance_course.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

// Sine and cosine of the half differences of a leg's ends and the arc of its haversine, by their
// series where the leg is as short as a track's nearly always are (the terms left off lie below
// the last bit), else by the library: every point replayed has its leg.
constexpr double kSmallAngle = 1e-3;

double sineOf(double x) {
    if (std::fabs(x) >= kSmallAngle)
        return std::sin(x);
    double x2 = x * x;
    return x * (1 - x2 / 6 * (1 - x2 / 20));
}

double cosineOf(double x) {
    if (std::fabs(x) >= kSmallAngle)
        return std::cos(x);
    double x2 = x * x;
    return 1 - x2 / 2 * (1 - x2 / 12 * (1 - x2 / 30));
}

// The arc sine of the square root of a leg's haversine, by its series where the leg is short.
double arcOf(double haversine) {
    double x = std::sqrt(std::min(1.0, haversine));
    if (x >= kSmallAngle)
        return std::asin(x);
    double x2 = x * x;
    return x * (1 + x2 / 6 * (1 + x2 * 9 / 20));
}

} // namespace

constexpr double kRadiansPerMinute = std::numbers::pi / (180 * 60);

GlobePosition OnGlobe(double lat, double lon) {
    double phi = lat * kRadiansPerMinute;
    return {lat, lon, std::sin(phi), std::cos(phi)};
}

DistanceAndCourse ComputeDistanceAndCourse(const GlobePosition& from, const GlobePosition& to) {
    // The halves of the differences for the haversine, which keeps its digits on the short legs
    // of a track where the cosine rule loses them.
    double halfLambda = (to.lon - from.lon) * kRadiansPerMinute / 2;
    double sinHalfLambda = sineOf(halfLambda), cosHalfLambda = cosineOf(halfLambda);
    double sinHalfPhi = sineOf((to.lat - from.lat) * kRadiansPerMinute / 2);
    double h = sinHalfPhi * sinHalfPhi + from.cosLat * to.cosLat * sinHalfLambda * sinHalfLambda;
    double metres = 2 * kEarthRadius * arcOf(h);
    if (!(metres > 0)) // the same place, or a position no number holds
        return {0, std::nullopt};
    // The bearing back from the second point, turned round: the way the leg arrives.
    double sinLambda = 2 * sinHalfLambda * cosHalfLambda;
    double cosLambda = 1 - 2 * sinHalfLambda * sinHalfLambda;
    double back = std::atan2(-sinLambda * from.cosLat,
                             to.cosLat * from.sinLat - to.sinLat * from.cosLat * cosLambda);
    // Whole degrees, 0 to 359 (the bearing lies between -180 and 180 before it is turned).
    auto degrees = static_cast<long>(back * (180 / std::numbers::pi) + 180.5);
    return {metres, static_cast<double>(degrees % 360)};
}

} // namespace korvel
