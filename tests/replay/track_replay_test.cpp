#include "replay/sentence.h"
#include "support/replay_fixture.h"
#include "text/line_reader.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace korvel;
using test::Log;

namespace {

// A point line of Korvel's own track files, at 12:mm:00.
std::string point(int minute) {
    char line[80];
    std::snprintf(line, sizeof line,
                  "T  N52 %02d.0000 E013 22.0000 Sat Dec 02 12:%02d:00 2010 ;156;", minute, minute);
    return line;
}

std::vector<std::string> header() {
    return {"I Korvel V0.1.0", "# 02.12.2010 13:00:00  Local Time", "eTrex", "L  New Header: HOME"};
}

class TrackReplay : public test::ReplayFixture {};

} // namespace

// A looping replay whose file is emptied or removed while it plays stops and says why.
TEST_F(TrackReplay, ALoopWhoseFileIsGoneStops) {
    std::vector<std::string> lines = header();
    for (int minute = 30; minute <= 32; ++minute)
        lines.push_back(point(minute));
    std::string path = program.file("Tracks/loop.trk");
    struct End {
        std::function<void()> cut;
        std::string said;
    } ends[] = {{[&] { std::ofstream(path, std::ios::trunc); },
                 "The file holds no record any more: the replay stops."},
                {[&] { std::filesystem::remove(path); },
                 "Cannot open " + path + ": No such file or directory"}};
    for (const End& end : ends) {
        load("loop.trk", Log(lines));
        c.Lop.value.set(1);
        tick();
        ASSERT_TRUE(engine.active);
        end.cut();
        runToEnd(100'000);
        EXPECT_FALSE(engine.active);
        EXPECT_EQ(c.List1.items.back(), end.said);
    }
}

// A layout no format knows, a known one whose columns hold no position, and files that are no
// text Korvel reads are refused with the reason, and nothing is sent.
TEST_F(TrackReplay, UnreadableFilesAreRefusedWithTheReason) {
    const std::string unknown = "Unknown Track-Format !", noLog = "No Log-File !";
    struct Case {
        std::string content, message, reason;
    } cases[] = {
        {Log({"T nothing that any layout knows", "T another"}), unknown,
         "Its points are in a layout Korvel cannot read."},
        // A G7To export whose points are UTM grid references.
        {Log({"M UTM", "T  15R  633951.5  3326484.2 Sat May 25 17:06:21 2002 ;3.280840;   1e25;"}),
         unknown, "The G7To file holds no track point Korvel can read."},
        {Log({"<gpx version=\"1.1\">", "<wpt lat=\"1\" lon=\"2\"/>", "</gpx>"}), unknown,
         "The GPX file holds no track point Korvel can read."},
        {std::string("\xFF\xFE$\0G\0P\0R\0M\0C\0\r\0\n\0", 16), noLog,
         "It is UTF-16 text: Korvel reads ASCII and UTF-8 files."},
        {Log({"Grid\tLat/Lon hddd mm.mmm", "Trackpoint\tN42 26.400 W71 07.255\t54 m"}), noLog,
         "It is a tab-separated export: Korvel reads NMEA logs and the track files of its list."},
        {std::string("\x10\x0e\x33\x00\x10\x03\r\n", 8), noLog,
         "It holds binary data, not lines of text."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        load("odd.txt", c.content);
        ASSERT_GE(this->c.List1.items.size(), 2u);
        EXPECT_EQ(this->c.List1.items[this->c.List1.items.size() - 2], c.message);
        EXPECT_EQ(this->c.List1.items.back(), c.reason);
        EXPECT_FALSE(engine.active);
        EXPECT_TRUE(platform.comm1.written.empty());
    }
}

// A document written on one line far longer than any line of a log replays every point.
TEST_F(TrackReplay, AKmlDocumentOnOneLongLineReplaysWhole) {
    const int points = 6000;
    std::string text = "<?xml version='1.0'?><kml><Document><Placemark><LineString><coordinates>";
    for (int i = 1; i <= points; ++i)
        text += "13.0000000," + std::to_string(10 + i / 1000) + "." +
                std::to_string(1000 + i % 1000).substr(1) + "0000,100 ";
    text += "</coordinates></LineString></Placemark></Document></kml>";
    ASSERT_GT(text.size(), 2 * LineReader::kMaxLine);
    load("long.kml", text);
    EXPECT_EQ(engine.count, points);
    form.SeekRecord(points - 2);
    runToEnd();
    std::vector<std::string> sent = sentLines();
    ASSERT_EQ(sent.size(), 6u);
    // 15.999 and 16 degrees.
    EXPECT_EQ(ExtractField(sent[0], 3), "1559.940");
    EXPECT_EQ(ExtractField(sent[3], 3), "1600.000");
}

// The figures beside the golden stream of a zero date, midnight and a segment: the speed past
// midnight is the fastest so far, and the next segment starts the trip again.
TEST_F(TrackReplay, ASegmentStartsTheTripAgain) {
    c.AutoReset.value.set(1);
    click(std::string(KORVEL_SOURCE_DIR) +
          "/tests/data/replay/zero-date-midnight-and-segments.trk");
    tick();
    tick();
    EXPECT_EQ(c.MaxL.caption, "111");
    tick();
    EXPECT_EQ(engine.segments, 1);
    EXPECT_EQ(s.trip.distance(), 0);
}

// After a restart the trip counts from the file's first point, not from the leg back to it.
TEST_F(TrackReplay, ARestartStartsTheTripAtTheFirstPoint) {
    std::vector<std::string> lines = header();
    for (int minute = 30; minute <= 33; ++minute)
        lines.push_back(point(minute));
    load("walk.trk", Log(lines));
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(c.TripL.caption, "3.7") << "two legs of a minute of latitude";
    form.RESTART_Click();
    tick();
    EXPECT_EQ(c.TripL.caption, "0.0");
}

TEST_F(TrackReplay, LastRecordFollowsAGrowingFile) {
    std::vector<std::string> lines = header();
    lines.push_back(point(30));
    lines.push_back(point(31));
    load("growing.trk", Log(lines));
    c.Last.value.set(1);
    tick();
    EXPECT_NE(sentLines().at(sentLines().size() - 3).find("5231.000"), std::string::npos);
    EXPECT_EQ(c.Timer1.interval(), 6000);
    std::ofstream(program.file("Tracks/growing.trk"), std::ios::app) << point(40) << "\r\n";
    tick();
    EXPECT_NE(sentLines().at(sentLines().size() - 3).find("5240.000"), std::string::npos);
    c.StopA.onClick();

    // A GPX track that a logger writes as it goes, its closing elements not yet written.
    load("growing.gpx", "<gpx>\n<trk><trkseg>\n<trkpt lat=\"52.5\" lon=\"13\"/>\n"
                        "<trkpt lat=\"52.6\" lon=\"13\"/>\n");
    c.Last.value.set(1);
    tick();
    EXPECT_NE(sentLines().at(sentLines().size() - 3).find("5236.000"), std::string::npos);
    std::ofstream(program.file("Tracks/growing.gpx"), std::ios::app)
        << "<trkpt lat=\"52.7\"\n lon=\"13\"></trkpt>\n";
    tick();
    EXPECT_NE(sentLines().at(sentLines().size() - 3).find("5242.000"), std::string::npos);
}
