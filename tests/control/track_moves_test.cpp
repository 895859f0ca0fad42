// Skip, Back, the seek on the record gauge and the segment jump move by the same points in
// every track format: the point the next tick sends is the one they name.
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "support/replay_fixture.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

constexpr int kPoints = 30, kSecondSegment = 16;

// Point i lies at 10 degrees and i minutes north.
std::string ozi() {
    std::string text = "OziExplorer Track Point File Version 2.1\nWGS 84\nAltitude is in Feet\n"
                       "Reserved 3\n0,2,255,Track,0,0,2,8421376\n30\n";
    for (int i = 1; i <= kPoints; ++i) {
        char line[80];
        std::snprintf(line, sizeof line, "%.7f,13.0,%d,100,40230.5,,\n", 10 + i / 60.0,
                      i == 1 || i == kSecondSegment);
        text += line;
    }
    return text;
}

std::string ownTrack() {
    std::string text = "I Korvel V0.1.0\nL  New Header: HOME\n";
    for (int i = 1; i <= kPoints; ++i) {
        if (i == 1 || i == kSecondSegment)
            text += "N  New Track Segment\n";
        char line[80];
        std::snprintf(line, sizeof line,
                      "T  N10 %02d.0000 E013 00.0000 Sat Dec 02 12:%02d:00 2010\n", i, i);
        text += line;
    }
    return text;
}

// The whole document on one line, one line string for each segment.
std::string kml() {
    std::string text = "<?xml version='1.0'?><kml><Document>";
    for (int i = 1; i <= kPoints; ++i) {
        if (i == 1 || i == kSecondSegment)
            text += std::string(i == 1 ? "" : "</coordinates></LineString></Placemark>") +
                    "<Placemark><name>Segment</name><LineString><coordinates>";
        char tuple[40];
        std::snprintf(tuple, sizeof tuple, "13,%.7f,100 ", 10 + i / 60.0);
        text += tuple;
    }
    return text + "</coordinates></LineString></Placemark></Document></kml>";
}

std::string gxTrack() {
    std::string text = "<kml xmlns:gx='http://www.google.com/kml/ext/2.2'>\n";
    for (int first : {1, kSecondSegment}) {
        int last = first == 1 ? kSecondSegment - 1 : kPoints;
        text += "<Placemark><gx:Track>\n";
        for (int i = first; i <= last; ++i)
            text += "<when>2010-12-02T12:" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                    ":00Z</when>\n";
        for (int i = first; i <= last; ++i) {
            char coord[60];
            std::snprintf(coord, sizeof coord, "<gx:coord>13 %.7f 100</gx:coord>\n", 10 + i / 60.0);
            text += coord;
        }
        text += "</gx:Track></Placemark>\n";
    }
    return text + "</kml>\n";
}

std::string gpx() {
    std::string text = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\">\n<trk>\n";
    for (int i = 1; i <= kPoints; ++i) {
        if (i == kSecondSegment)
            text += "</trkseg>\n";
        if (i == 1 || i == kSecondSegment)
            text += "<trkseg>\n";
        char point[80];
        std::snprintf(point, sizeof point,
                      "<trkpt lat=\"%.7f\"\n lon=\"13\"><ele>100</ele></trkpt>\n", 10 + i / 60.0);
        text += point;
    }
    return text + "</trkseg>\n</trk>\n</gpx>\n";
}

class TrackMoves : public test::ReplayFixture {
  protected:
    // The number of the point the next tick sends, by its latitude.
    int nextPoint() {
        size_t before = sentLines().size();
        tick();
        std::vector<std::string> sent = sentLines();
        if (sent.size() <= before || !IsSentence(sent[before], "RMC"))
            return 0;
        return static_cast<int>(MinutesOfArc(ExtractField(sent[before], 3)) - 600 + 0.5);
    }
};

} // namespace

TEST_F(TrackMoves, EveryFormatMovesByItsPoints) {
    const std::pair<const char*, std::string> files[] = {{"ozi.plt", ozi()},
                                                         {"own.trk", ownTrack()},
                                                         {"one-line.kml", kml()},
                                                         {"gx.kml", gxTrack()},
                                                         {"track.gpx", gpx()}};
    for (const auto& [name, content] : files) {
        SCOPED_TRACE(name);
        load(name, content);
        ASSERT_EQ(s.recordCount, kPoints);
        EXPECT_TRUE(c.AutoSkip.enabled) << "the file has segments";
        EXPECT_EQ(nextPoint(), 1);
        EXPECT_EQ(nextPoint(), 2);
        form.Skip1_Click(); // ten points on
        EXPECT_EQ(nextPoint(), 13);
        EXPECT_EQ(s.recordIndex, 13);
        form.SeekRecord(20);
        EXPECT_EQ(nextPoint(), 21);
        form.Back_Click(); // fifty back: the start
        EXPECT_EQ(nextPoint(), 1);
        EXPECT_EQ(s.segmentCount, 1);
        c.AutoSkip.onMouseDown(); // on to the next segment
        EXPECT_EQ(nextPoint(), kSecondSegment);
        EXPECT_EQ(s.recordIndex, kSecondSegment);
        EXPECT_EQ(s.segmentCount, 2);
        form.SeekRecord(kPoints - 1);
        EXPECT_EQ(nextPoint(), kPoints);
        EXPECT_EQ(nextPoint(), 0) << "the end";
        EXPECT_EQ(s.replayActive, 0);
    }
}
