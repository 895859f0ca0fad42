// The altitude profile drawn as a file loads: the range in its tool tip, one line per stretch
// of records, and a marker where a segment starts.
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

const std::string kRmc = FrameSentence("GPRMC,120000,A,4807.038,N,01131.000,E,,,230394,,");

std::string ggaLog(std::vector<std::string> altitudes) {
    std::vector<std::string> lines = {kRmc};
    for (const std::string& altitude : altitudes)
        lines.push_back(FrameSentence("GNGGA,120000,4807.038,N,01131.000,E,1,08,0.9," + altitude +
                                      ",M,46.9,M,,"));
    lines.push_back(kRmc);
    return Log(lines);
}

} // namespace

TEST_F(AltitudeProfile, RangesAndLinesOfEveryKindOfFile) {
    std::vector<std::string> longTrack = {"I Korvel V0.1.0"};
    for (int i = 0; i < 20000; ++i)
        longTrack.push_back(point(i == 12345 ? 1900 : 300 + i % 100));
    struct Case {
        const char *legend, *name;
        std::string content;
        const char* toolTip;
        size_t lines; // 0: any number up to what the picture shows
        int reaches;  // an altitude a line must reach, 0: none
    } cases[] = {
        {"no altitudes: the frame only", "flat.log", Log({kRmc, kRmc, kRmc}), "", 0, 0},
        {"heights above 10000 m count as 10000, a segment is marked", "hills.trk",
         Log({"I Korvel V0.1.0", point(120), point(480), "N  New Track Segment", point(300),
              point(25000)}),
         "Altitude: 120-10000m", 4, 480},
        {"a fix without altitude is no 0 m; below sea level as it is", "dead-sea.log",
         ggaLog({"-28.5", "", "-12.0", "-20.0"}), "Altitude: -29--12m", 3, 0},
        {"a long file: segments of many records, a peak inside one still shows", "long.trk",
         Log(longTrack), "Altitude: 300-1900m", 0, 1900},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.legend);
        load(t.name, t.content);
        EXPECT_EQ(c.DIA.toolTip, t.toolTip);
        EXPECT_EQ(c.DIA.scaleWidth, engine.count);
        std::vector<PictureBox::Op> lines = curve();
        if (t.lines) {
            EXPECT_EQ(lines.size(), t.lines);
        }
        EXPECT_LE(lines.size(), 4000u);
        bool reached = false, marker = false;
        for (const PictureBox::Op& op : lines)
            reached = reached || std::min(op.y1, op.y2) == 2000 - t.reaches;
        for (const PictureBox::Op& op : c.DIA.ops)
            marker = marker || (op.color == RGB(0, 200, 0) && op.x1 == 2 && op.y2 == 2000);
        EXPECT_EQ(reached, t.reaches != 0);
        EXPECT_EQ(marker, std::string(t.name) == "hills.trk");
    }
}
