// Flat-earth distance and course between two positions in signed minutes of arc (negative south
// and west; 1855 m per minute).
#pragma once

namespace korvel {

struct DistanceAndCourse {
    double distance; // whole metres
    double course;   // whole degrees clockwise from north; unchanged when distance is 0
};

// course is the previous course, kept when the points coincide.
DistanceAndCourse ComputeDistanceAndCourse(double lat1, double lat2, double lon1, double lon2,
                                           double course);

} // namespace korvel
