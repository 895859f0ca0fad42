#include "manual/manual_motion.h"
#include "replay/distance_course.h"
#include "replay/sentence_type.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace korvel;

// A moving position goes as far as its speed takes it, along the great circle: the distance
// and the course on arrival, measured back by the replay's own haversine, agree with what it
// was given, on the equator, in the southern and western hemispheres, over the date line and
// across the pole.
TEST(ManualMotion, GoesAsFarAsTheSpeedAlongTheGreatCircle) {
    struct Case {
        double lat, lon, knots, course, seconds;
        double endLat, endLon; // worked out where the answer is plain; NaN where it is not
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double degreesPerNm = 1852 / kEarthRadius * 180 / std::numbers::pi;
    const Case cases[] = {
        {0, 0, 60, 90, 3600, 0, 60 * degreesPerNm}, // an hour east along the equator
        {-33.9, -18.4, 12, 180, 600, -33.9 - 2 * degreesPerNm, -18.4}, // due south
        {10, 179.99, 600, 90, 60, nan, nan},                           // over the date line
        {89.99, 10, 100, 0, 36, 180 - 89.99 - degreesPerNm, -170},     // one nm over the pole
        {-52.5, -70.2, 25.5, 236.4, 7200, nan, nan},                   // a long way south-west
        {45, 7, 0, 45, 3600, 45, 7},                                   // standing still
    };
    for (const Case& c : cases) {
        ManualMotion motion{c.knots, c.course, c.lat, c.lon};
        motion.advance(c.seconds);
        SCOPED_TRACE(testing::Message() << c.lat << " " << c.lon << " course " << c.course);
        if (!std::isnan(c.endLat)) {
            EXPECT_NEAR(motion.lat, c.endLat, 1e-9);
            EXPECT_NEAR(motion.lon, c.endLon, 1e-9);
        }
        EXPECT_GE(motion.lon, -180);
        EXPECT_LE(motion.lon, 180);
        DistanceAndCourse leg = ComputeDistanceAndCourse(OnGlobe(c.lat * 60, c.lon * 60),
                                                         OnGlobe(motion.lat * 60, motion.lon * 60));
        EXPECT_NEAR(leg.metres, c.knots * 1852 * c.seconds / 3600, 1e-3);
        if (leg.course) {
            double off = std::fabs(std::remainder(*leg.course - motion.course, 360));
            EXPECT_LE(off, 0.5) << "arrives on " << *leg.course << ", says " << motion.course;
        }
    }
}

// The sentences' coordinates and course, rounded at the last digit with the carry into the
// minutes and degrees.
TEST(ManualMotion, CoordinatesAndCourseAsSentencesCarryThem) {
    EXPECT_EQ(DegreesText(-33.9, 2), "3354.0000");
    EXPECT_EQ(DegreesText(7.123456789, 3), "00707.4074");
    EXPECT_EQ(DegreesText(-17.99999999, 3), "01800.0000");
    EXPECT_EQ(DegreesText(0, 2), "0000.0000");
    ManualMotion motion{10, 359.97};
    EXPECT_EQ(motion.courseText(), "000.0");
    motion.course = 87.46;
    EXPECT_EQ(motion.courseText(), "087.5");
}
