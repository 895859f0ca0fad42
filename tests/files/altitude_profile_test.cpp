#include "replay/sentence.h"
#include "support/replay_fixture.h"

#include <gtest/gtest.h>

using namespace korvel;
using test::Log;

namespace {

class AltitudeProfile : public test::ReplayFixture {
  protected:
    std::vector<PictureBox::Op> curve() const {
        std::vector<PictureBox::Op> lines;
        for (const PictureBox::Op& op : c.DIA.ops)
            if (op.kind == PictureBox::Op::Line && op.width == 2)
                lines.push_back(op);
        return lines;
    }
};

std::string point(int altitude) {
    return "T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010 ;" + std::to_string(altitude) +
           ";";
}

} // namespace

TEST_F(AltitudeProfile, LogWithoutAltitudesDrawsOnlyTheFrame) {
    std::string rmc = FrameSentence("GPRMC,120000,A,4807.038,N,01131.000,E,,,230394,,");
    load("flat.log", Log({rmc, rmc, rmc}));
    ASSERT_EQ(c.DIA.ops.size(), 2u);
    EXPECT_EQ(c.DIA.ops[0].text, " 2000m");
    EXPECT_EQ(c.DIA.ops[1].y1, 1000);
    EXPECT_EQ(c.DIA.toolTip, "");
    EXPECT_EQ(c.DIA.scaleHeight, 2000);
    EXPECT_EQ(c.DIA.scaleWidth, s.recordCount);
}

TEST_F(AltitudeProfile, TrackAltitudesSegmentsAndTheLimit) {
    load("hills.trk", Log({"I Korvel V0.1.0", "L  New Header: HILLS", point(120), point(480),
                           "N  New Track Segment", point(300), point(25000)}));
    EXPECT_EQ(c.DIA.toolTip, "Altitude: 120-10000m") << "25000 counts as 10000";
    std::vector<PictureBox::Op> lines = curve();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].y1, 2000 - 120) << "the first point joins itself";
    EXPECT_EQ(lines[1].y1, 2000 - 120);
    EXPECT_EQ(lines[1].y2, 2000 - 480);
    EXPECT_EQ(lines[1].x2, 2);
    EXPECT_EQ(lines[1].color, RGB(255, 255, 0));
    bool marker = false;
    for (const PictureBox::Op& op : c.DIA.ops)
        marker =
            marker || (op.color == RGB(0, 200, 0) && op.x1 == 2 && op.x2 == 2 && op.y2 == 2000);
    EXPECT_TRUE(marker) << "the new segment is marked at its record";
}

TEST_F(AltitudeProfile, LogAltitudesOfAnyTalkerAndEscapeStops) {
    std::vector<std::string> lines = {
        FrameSentence("GPRMC,120000,A,4807.038,N,01131.000,E,,,230394,,")};
    for (int i = 0; i < 10; ++i)
        lines.push_back(FrameSentence("GNGGA,12000" + std::to_string(i) +
                                      ",4807.038,N,01131.000,E,1,08,0.9," +
                                      std::to_string(200 + i * 10) + ".5,M,46.9,M,,"));
    lines.push_back(lines.front());
    // The user presses Escape while the fifth line is read: after four altitudes.
    int linesRead = 0;
    platform.clock.pendingEvents = [&] {
        if (++linesRead == 5)
            form.Form_KeyDown(27, 0);
    };
    load("gn.log", Log(lines));
    EXPECT_EQ(curve().size(), 4u);
    EXPECT_EQ(c.DIA.toolTip, "Altitude: 200-230m");
}

// Only altitudes that are there count: a fix without one is no 0 m, and a range below sea level
// is shown as it is.
TEST_F(AltitudeProfile, FixesWithoutAltitudeAndBelowSeaLevel) {
    std::vector<std::string> lines = {
        FrameSentence("GPRMC,120000,A,4807.038,N,01131.000,E,,,230394,,")};
    for (const char* altitude : {"-28.5", "", "-12.0", "-20.0"})
        lines.push_back(FrameSentence(std::string("GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,") +
                                      altitude + ",M,46.9,M,,"));
    lines.push_back(lines.front());
    load("dead-sea.log", Log(lines));
    EXPECT_EQ(curve().size(), 3u);
    EXPECT_EQ(c.DIA.toolTip, "Altitude: -29--12m");
}

TEST_F(AltitudeProfile, ALongFileDrawsNoMoreThanThePictureShows) {
    std::vector<std::string> lines = {"I Korvel V0.1.0"};
    for (int i = 0; i < 20000; ++i)
        lines.push_back(point(i == 12345 ? 1900 : 300 + i % 100));
    load("long.trk", Log(lines));
    EXPECT_LE(curve().size(), 4000u) << "segments of many records, not one line per record";
    EXPECT_EQ(c.DIA.toolTip, "Altitude: 300-1900m");
    bool peak = false;
    for (const PictureBox::Op& op : curve())
        peak = peak || std::min(op.y1, op.y2) == 2000 - 1900;
    EXPECT_TRUE(peak) << "a peak inside a segment still shows";
}
