#include "replay/trip_figures.h"

#include <gtest/gtest.h>

using namespace korvel;

// A walk east along the equator, a minute of arc (1853.25 m on the Earth's mean sphere) a leg,
// a minute of time apart.
TEST(TripFigures, LegsAddUpAndTheStandingPointKeepsTheCourse) {
    TripFigures trip;
    const double start = 1'800'000'000;
    EXPECT_EQ(trip.addPoint(0, 0, false), 0.0) << "the first point measures from the start";
    EXPECT_EQ(trip.legCourse(), std::nullopt) << "no course before a leg has moved";
    EXPECT_EQ(trip.legSpeed(start), std::nullopt) << "no time before the first";
    EXPECT_EQ(trip.addPoint(0, 1, false), std::nullopt) << "a leg that moved needs no start";
    EXPECT_EQ(trip.legDistance(), 1853);
    EXPECT_EQ(trip.legCourse(), 90);
    EXPECT_NEAR(trip.legSpeed(start + 60).value_or(0), 111.195, 0.001);
    EXPECT_EQ(trip.legSpeed(start + 60), std::nullopt) << "the same time again";
    EXPECT_EQ(trip.addPoint(0, 1, true), 1853.0) << "wanted, the start is measured";
    EXPECT_EQ(trip.legDistance(), 0);
    EXPECT_EQ(trip.legCourse(), 90) << "standing keeps the course of the way from the start";
    EXPECT_EQ(trip.addPoint(1, 1, false), std::nullopt);
    EXPECT_EQ(trip.legCourse(), 0);
    EXPECT_NEAR(trip.distance(), 2 * 1853.25, 0.01);

    EXPECT_TRUE(trip.takeSpeed(50));
    EXPECT_FALSE(trip.takeSpeed(50)) << "only a faster speed is the fastest";
    EXPECT_EQ(trip.fastest(), 50);

    trip.forgetPoints();
    EXPECT_EQ(trip.addPoint(-10, -10, false), 0.0) << "a new start, in the south-west";
    EXPECT_NEAR(trip.distance(), 2 * 1853.25, 0.01) << "kept until forgotten";
    EXPECT_EQ(trip.legSpeed(start + 120), std::nullopt) << "no time before a new start";
}

// The trip's clock: its first record starts it; a record before the start, or 100 minutes and
// more after it, starts the trip again.
TEST(TripFigures, TheClockRunsFromTheFirstRecordForUnderAHundredMinutes) {
    TripFigures trip;
    const long long start = 1'800'000'000;
    EXPECT_EQ(trip.minutesAt(start), 0);
    EXPECT_EQ(trip.minutesAt(start + 99 * 60 + 59), 99);
    EXPECT_EQ(trip.minutesAt(start + 100 * 60), std::nullopt);
    EXPECT_EQ(trip.minutesAt(start - 60), std::nullopt);
    trip.forgetClock();
    EXPECT_EQ(trip.minutesAt(start + 100 * 60), 0) << "forgotten, the next record starts it";
    EXPECT_EQ(trip.minutesAt(start + 101 * 60), 1);
}
