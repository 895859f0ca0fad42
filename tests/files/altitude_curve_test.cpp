#include "files/altitude_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace korvel;

TEST(AltitudeCurve, ACurveReadApartJoinsInOrder) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> altitude(0, 3000);
    for (long count : {10L, 3000L, 50000L}) {
        std::vector<double> points;
        for (long i = 0; i < count; ++i)
            points.push_back(altitude(random));
        for (long split : {0L, 1L, count / 3, count / 2 + 7, count}) {
            AltitudeCurve whole, first, second;
            for (long i = 0; i < count; ++i) {
                AltitudeCurve& part = i < split ? first : second;
                for (AltitudeCurve* curve : {&whole, &part}) {
                    if (i % 97 == 0)
                        curve->mark(i % 2 == 0);
                    curve->add(points[static_cast<size_t>(i)], 0);
                }
            }
            first.append(second);
            ASSERT_EQ(first.points(), count);
            EXPECT_EQ(first.perSegment(), whole.perSegment());
            EXPECT_EQ(first.first(), whole.first());
            EXPECT_EQ(first.lowest(), whole.lowest());
            EXPECT_EQ(first.highest(), whole.highest());
            EXPECT_EQ(first.segments().back().last, whole.segments().back().last);
            // Each segment's span moves by less than a segment: the extremes of every stretch
            // of two segments contain those of the curve read whole.
            ASSERT_EQ(first.segments().size(), whole.segments().size());
            for (size_t i = 0; i + 1 < whole.segments().size(); ++i) {
                const auto &a = first.segments()[i], &b = first.segments()[i + 1];
                double low = std::min(a.low, b.low), high = std::max(a.high, b.high);
                if (i > 0) {
                    low = std::min(low, first.segments()[i - 1].low);
                    high = std::max(high, first.segments()[i - 1].high);
                }
                EXPECT_LE(low, whole.segments()[i].low) << count << " split " << split;
                EXPECT_GE(high, whole.segments()[i].high) << count << " split " << split;
            }
            std::vector<long> wholeMarks, joinedMarks;
            for (const auto& m : whole.markers())
                wholeMarks.push_back(m.x / whole.perSegment());
            for (const auto& m : first.markers())
                joinedMarks.push_back(m.x / first.perSegment());
            EXPECT_EQ(joinedMarks, wholeMarks) << "the same segments are marked";
        }
    }
}
