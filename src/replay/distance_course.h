// Distance and course between two positions in signed minutes of arc (negative south and west),
// along the great circle of a sphere of the Earth's mean radius.
#pragma once

#include <optional>

namespace korvel {

inline constexpr double kEarthRadius = 6'371'008.8; // metres, the mean of the ellipsoid's axes

struct DistanceAndCourse {
    double metres;                // unrounded
    std::optional<double> course; // whole degrees clockwise from north, 0 to 359; none where
                                  // the points coincide
};

// A position in signed minutes of arc, with the sine and cosine of its latitude worked out once
// for the legs to it and from it.
struct GlobePosition {
    double lat = 0, lon = 0;
    double sinLat = 0, cosLat = 1;
};
GlobePosition OnGlobe(double lat, double lon);

// The course is the direction of travel on arrival at the second point: on a long leg, or one
// across a pole, it differs from the direction at the start.
DistanceAndCourse ComputeDistanceAndCourse(const GlobePosition& from, const GlobePosition& to);

} // namespace korvel
