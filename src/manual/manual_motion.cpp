#include "manual/manual_motion.h"

#include "replay/distance_course.h"
#include "text/conversions.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

constexpr double kRadians = std::numbers::pi / 180;

double toDegrees(double radians) {
    return radians / kRadians;
}

} // namespace

void ManualMotion::advance(double seconds) {
    double arc = knots * 1852 / 3600 * seconds / kEarthRadius;
    if (!(arc > 0))
        return;
    double phi1 = lat * kRadians, theta = course * kRadians;
    double sinPhi2 =
        std::sin(phi1) * std::cos(arc) + std::cos(phi1) * std::sin(arc) * std::cos(theta);
    double phi2 = std::asin(std::clamp(sinPhi2, -1.0, 1.0));
    double dLambda = std::atan2(std::sin(theta) * std::sin(arc) * std::cos(phi1),
                                std::cos(arc) - std::sin(phi1) * sinPhi2);
    // The course on arrival: the one back to the start, turned round.
    double back = std::atan2(-std::sin(dLambda) * std::cos(phi1),
                             std::cos(phi2) * std::sin(phi1) -
                                 std::sin(phi2) * std::cos(phi1) * std::cos(dLambda));
    lat = toDegrees(phi2);
    lon = std::remainder(lon + toDegrees(dLambda), 360);
    course = std::fmod(toDegrees(back) + 180 + 360, 360);
}

std::string ManualMotion::courseText() const {
    return Format(static_cast<double>(std::llround(course * 10) % 3600) / 10, "000.0");
}

} // namespace korvel
