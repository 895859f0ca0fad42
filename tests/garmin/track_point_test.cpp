#include "garmin/track_point.h"
#include "garmin_receiver/packets.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace korvel;
using simulated::GarminPoint;
using simulated::PointData;
using simulated::Word;

namespace {

std::string hexOf(const GarminPoint& point, int size) {
    return HexText(PointData(point, size));
}

} // namespace

TEST(TrackPoint, PositionsInEveryHemisphere) {
    // 0x25555555 semicircles lie a hair below 52.5 degrees; the minutes round to 30.
    std::string north = HexText(Word(0x25555555) + Word(0) + Word(0));
    EXPECT_EQ(DecodeTrackPoint(north, "1").line.substr(0, 27), "T  N52 30.0000 E000 00.0000");
    GarminPoint east{5.1, 170.123456, 0, 0, false};
    EXPECT_EQ(DecodeTrackPoint(hexOf(east, 13), "1").line.substr(0, 27),
              "T  N05 06.0000 E170 07.4074");
    // Minutes that round up to a whole degree carry into it.
    GarminPoint edge{52.9999999999, 13, 0, 0, false};
    EXPECT_EQ(DecodeTrackPoint(hexOf(edge, 13), "1").line.substr(0, 14), "T  N53 00.0000");
}

TEST(TrackPoint, TimesFromTheReceiversEpoch) {
    struct Case {
        std::int32_t seconds;
        const char *date, *dateTimeText;
    } cases[] = {
        {0, "Sun Dec 31 00:00:00 1989", "31.12.89 00:00:00"},
        {-5, "Sun Dec 31 00:00:00 1989", "31.12.89 00:00:00"}, // before the epoch: the epoch
        {2147483647, "Fri Jan 18 03:14:07 2058", "18.01.58 03:14:07"},
    };
    for (const Case& c : cases) {
        TrackPointLine point = DecodeTrackPoint(hexOf({0, 0, c.seconds, 0, false}, 13), "1");
        EXPECT_EQ(point.line.substr(28), c.date) << c.seconds;
        EXPECT_EQ(point.dateTimeText, c.dateTimeText) << c.seconds;
    }
}

// The second layout's altitude in whole metres; a layout without one, and a packet too short
// for the altitude layout, give none.
TEST(TrackPoint, AltitudesAsTheLayoutHasThem) {
    const std::string plain = "T  N52 30.0000 E013 15.0000 Mon Nov 29 21:20:00 2010";
    struct Case {
        float metres;
        const char* suffix;
    } cases[] = {{156.5f, " ;157;"},
                 {0.0f, " ;0;"},
                 {8848.0f, " ;8848;"},
                 {-0.4f, " ;0;"},
                 {-0.0f, " ;0;"},
                 // Far beyond any height, below the mark: written whole, not overflowed.
                 {std::ldexp(1.0f, 70), " ;1180591620717411303424;"}};
    for (const Case& c : cases)
        for (int size : {21, 24}) {
            GarminPoint point{52.5, 13.25, 660000000, c.metres, false};
            EXPECT_EQ(DecodeTrackPoint(hexOf(point, size), "2").line, plain + c.suffix)
                << c.metres << " in " << size << " bytes";
        }
    GarminPoint point{52.5, 13.25, 660000000, 156.4f, true};
    for (auto [size, layout] : {std::pair{13, "1"}, {21, "?"}, {13, "2"}})
        EXPECT_EQ(DecodeTrackPoint(hexOf(point, size), layout).line, plain)
            << size << " bytes, layout " << layout;
}
