// The replay engine through its own interface: what it loads, refuses and sends record by
// record, with no window to show it.
#include "replay/sentence.h"
#include "support/engine_run.h"
#include "support/replay_fixture.h"
#include "text/conversions.h"
#include "text/line_reader.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace korvel;
using test::Log;
using test::Rmc;

namespace {

class Engine : public test::EngineRun {
  protected:
    // The sentences the next record sends.
    std::vector<std::string> next() {
        sent.clear();
        engine.playNext(*this);
        return sent;
    }
};

std::string rmc(const std::string& time, const std::string& knots) {
    return FrameSentence("GPRMC," + time + ",A,4807.038,N,01131.000,E," + knots +
                         ",084.4,230394,003.1,W");
}
std::string gga(const std::string& time) {
    return FrameSentence("GPGGA," + time + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
}

// A point line of Korvel's own track files, at 12:mm:00.
std::string point(int minute) {
    char line[80];
    std::snprintf(line, sizeof line,
                  "T  N52 %02d.0000 E013 22.0000 Sat Dec 02 12:%02d:00 2010 ;156;", minute, minute);
    return line;
}
const std::string kTrackHeader =
    Log({"I Korvel V0.1.0", "# 02.12.2010 13:00:00  Local Time", "eTrex", "L  New Header: HOME"});

} // namespace

// A file being written is followed at its end: every step sends its newest whole record (a
// log's with the VTG made for its speed), never one cut short at the end of the file.
TEST_F(Engine, NewestRecordOfAGrowingFile) {
    engine.options.newestOnly = true;
    only({Sentence::Rmc, Sentence::Gga, Sentence::Vtg});
    struct Case {
        const char* name;
        std::string start, added;
        const char *first, *then; // in the newest record's first sentence
        const char* vtg;          // in its VTG: a log's is made of the RMC's speed
    } cases[] = {
        {"growing.log",
         Log({rmc("120000", "022.4"), gga("120000"), rmc("120001", "010.0"), gga("120001")}),
         Log({rmc("120002", "005.0"), gga("120002")}) + "$GPRMC,120003,A,48", ",120001,",
         ",120002,", ",005.0,N,"},
        {"growing.trk", kTrackHeader + Log({point(30), point(31)}), Log({point(40)}), "5231.000",
         "5240.000", ",T,"},
        // A GPX track that a logger writes as it goes, its closing elements not yet written.
        {"growing.gpx",
         "<gpx>\n<trk><trkseg>\n<trkpt lat=\"52.5\" lon=\"13\"/>\n<trkpt lat=\"52.6\" "
         "lon=\"13\"/>\n",
         "<trkpt lat=\"52.7\"\n lon=\"13\"></trkpt>\n", "5236.000", "5242.000", ",T,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(load(c.name, c.start).loaded());
        std::vector<std::string> first = next();
        ASSERT_EQ(first.size(), 3u);
        EXPECT_NE(first[0].find(c.first), std::string::npos) << first[0];
        std::ofstream(folder.file(c.name), std::ios::app) << c.added;
        std::vector<std::string> then = next();
        ASSERT_EQ(then.size(), 3u);
        EXPECT_NE(then[0].find(c.then), std::string::npos) << then[0];
        EXPECT_NE(then[2].find(c.vtg), std::string::npos) << then[2];
        engine.stop();
    }
}

// Paused, the last record is sent again as it was: its VTG too, with its speed and mode field.
TEST_F(Engine, APauseRepeatsTheRecordAsItWasSent) {
    std::string rmc1 =
        FrameSentence("GNRMC,120001.00,A,4807.12345,N,01131.54321,E,010.0,084.4,230394,,,A");
    std::string gga1 =
        FrameSentence("GNGGA,120001.00,4807.0000,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,");
    const std::string vtg = FrameSentence("GPVTG,084.4,T,077.8,M,022.4,N,041.5,K,A");
    const std::string datum = "$PGRMM,WGS 84*06";
    load("pause.log", Log({Rmc(0), vtg, datum, rmc1, gga1, vtg, Rmc(2)}));
    next();
    next();
    sent.clear();
    engine.sendPause(*this);
    std::vector<std::string> expected = {
        rmc1,
        // The GGA takes the RMC's position, field by field, whatever the field widths.
        FrameSentence("GNGGA,120001.00,4807.12345,N,01131.54321,E,1,08,0.9,545.4,M,46.9,M,,"),
        vtg,
        datum,
    };
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(engine.index, 2);
}

// A layout no format knows, a known one whose columns hold no position, and files that are no
// text Korvel reads are refused with what they are not and why.
TEST_F(Engine, UnreadableFilesAreRefusedWithTheReason) {
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
    for (const Case& c : cases)
        EXPECT_EQ(load("odd.txt", c.content).refusal,
                  (std::vector<std::string>{c.message, c.reason}));
}

// A document written on one line far longer than any line of a log replays every point.
TEST_F(Engine, AKmlDocumentOnOneLongLineReplaysWhole) {
    const int points = 6000;
    std::string text = "<?xml version='1.0'?><kml><Document><Placemark><LineString><coordinates>";
    for (int i = 1; i <= points; ++i)
        text += "13.0000000," + std::to_string(10 + i / 1000) + "." +
                std::to_string(1000 + i % 1000).substr(1) + "0000,100 ";
    text += "</coordinates></LineString></Placemark></Document></kml>";
    ASSERT_GT(text.size(), 2 * LineReader::kMaxLine);
    only({Sentence::Rmc, Sentence::Gga, Sentence::Vtg});
    load("long.kml", text);
    EXPECT_EQ(engine.count, points);
    engine.skip(points - 2, [] { return true; });
    playToEnd();
    ASSERT_EQ(sent.size(), 6u);
    // 15.999 and 16 degrees.
    EXPECT_EQ(ExtractField(sent[0], 3), "1559.940");
    EXPECT_EQ(ExtractField(sent[3], 3), "1600.000");
}

// A zero date, midnight and a segment: the speed into midnight (a minute of arc in 30 s) is the
// fastest so far, and with the autoreset option the next segment starts the trip again.
TEST_F(Engine, ASegmentStartsTheTripAgain) {
    engine.options.autoReset = true;
    std::string file =
        std::string(KORVEL_SOURCE_DIR) + "/tests/data/replay/zero-date-midnight-and-segments.trk";
    load("segments.trk", test::ReadFile(file));
    for (int i = 0; i < 4; ++i)
        next();
    EXPECT_EQ(Plain(trip.fastest()), "222");
    next();
    EXPECT_EQ(engine.segments, 1);
    EXPECT_EQ(trip.distance(), 0);
}

// A loop's first record has no leg back from the file's end: no course, as at the start. Once
// the file is emptied while it plays, the loop cannot start again, and says why.
TEST_F(Engine, ALoopStartsWithoutALegBackAndNotFromAnEmptiedFile) {
    load("loop.trk", kTrackHeader + Log({point(30), point(31)}));
    next();
    EXPECT_EQ(ExtractField(next()[0], 8), "000");
    ASSERT_EQ(engine.loopBack(), std::nullopt);
    EXPECT_EQ(ExtractField(next()[0], 8), "") << "not 180, the way back";
    std::ofstream(folder.file("loop.trk"), std::ios::trunc);
    EXPECT_EQ(engine.loopBack(), "The file holds no record any more: the replay stops.");
}
