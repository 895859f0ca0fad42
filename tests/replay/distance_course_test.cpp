#include "replay/distance_course.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(DistanceAndCourse, FlatEarthInWholeMetresAndDegrees) {
    const double previous = 123;
    // Positions in minutes of arc: 48 degrees north is 2880, 11 degrees east is 660.
    struct Case {
        double lat1, lat2, lon1, lon2, distance, course;
    } cases[] = {
        {0, 1, 0, 0, 1855, 0},
        {0, 0, 1, 0, 1855, 270},
        {0, 0, 0, 1, 1855, 90},
        {1, 0, 0, 0, 1855, 180},
        {2880, 2880, 660, 660, 0, previous},      // equal points keep the course
        {2880, 2881, 660, 661, 2232, 33},         // north-east
        {2880, 2879, 660, 661, 2232, 146},        // south-east
        {2880, 2879, 660, 659, 2232, 213},        // south-west
        {2880, 2881, 660, 659, 2232, 326},        // north-west
        {2880, 2880.0001, 660, 660, 0, previous}, // 0.19 m rounds to nothing
        // Signed positions, negative south and west: the same leg south-west in the south-west.
        {-2880, -2881, -660, -661, 2232, 213},
        {-0.5, 0.5, 0, 0, 1855, 0},           // across the equator
        {0, 0, -0.5, 0.5, 1855, 90},          // across Greenwich
        {0, 0, 10799.5, -10799.5, 1855, 90},  // across 180 degrees, the short way east
        {0, 0, -10799.5, 10799.5, 1855, 270}, // and west
    };
    for (const Case& c : cases) {
        DistanceAndCourse got = ComputeDistanceAndCourse(c.lat1, c.lat2, c.lon1, c.lon2, previous);
        EXPECT_EQ(got.distance, c.distance)
            << c.lat1 << "," << c.lon1 << " to " << c.lat2 << "," << c.lon2;
        EXPECT_EQ(got.course, c.course)
            << c.lat1 << "," << c.lon1 << " to " << c.lat2 << "," << c.lon2;
    }
}
