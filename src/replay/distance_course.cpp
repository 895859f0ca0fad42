#include "replay/distance_course.h"

#include "text/conversions.h"

#include <cmath>

namespace korvel {

DistanceAndCourse ComputeDistanceAndCourse(double lat1, double lat2, double lon1, double lon2,
                                           double course) {
    constexpr double pi = 3.14159265358979;
    constexpr double metresPerMinute = 1855;
    double meanLatitude = (lat1 / 60 + lat2 / 60) / 2 * pi / 180;
    // The short way round: a leg across the 180 degree meridian is a few minutes, not 360
    // degrees less a few.
    double dLon = std::remainder(lon2 - lon1, 360.0 * 60);
    double dN = (lat2 - lat1) * metresPerMinute;
    double dE = std::cos(meanLatitude) * dLon * metresPerMinute;
    double distance = Int(std::sqrt(dN * dN + dE * dE) + 0.5);
    if (distance == 0)
        return {distance, course};
    const double a = 180 / pi;
    if (dN == 0)
        course = dE > 0 ? 90 : 270;
    else if (dE == 0)
        course = dN > 0 ? 0 : 180;
    else if (dN >= 0 && dE >= 0)
        course = Int(std::atan(dE / dN) * a);
    else if (dN < 0 && dE >= 0)
        course = Int(std::atan(-dN / dE) * a) + 90;
    else if (dN < 0 && dE < 0)
        course = Int(std::atan(dE / dN) * a) + 180;
    else
        course = Int(std::atan(dN / -dE) * a) + 270;
    return {distance, course};
}

} // namespace korvel
