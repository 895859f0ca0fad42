// The readers of the track formats: which lines are points, what each point carries, and how
// a file's format is told. The examples of the formats' layouts and the layouts real
// programs write are files of the test-data folder.
#include "replay/formats/iso_time.h"
#include "replay/formats/track_formats.h"
#include "replay/sentence_type.h"
#include "replay/track_record.h"
#include "support/data_files.h"
#include "support/temp_folder.h"
#include "text/conversions.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

using namespace korvel;

namespace {

// Feeds a text to a reader as the replay does: line by line, or in chunks with their line ends
// to a reader that takes chunks.
template <class Read> void feed(const TrackReader& reader, const std::string& text, Read read) {
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        size_t next = end == std::string::npos ? text.size() : end + 1;
        read(std::string_view(text).substr(start, (reader.readsChunks() ? next : end) - start));
        start = next;
    }
}

// The points a reader of the format reads from a text, kept in a file as the replay's are.
std::vector<TrackPoint> pointsOf(const std::string& format, const std::string& text) {
    std::unique_ptr<TrackReader> reader = MakeTrackReader(format);
    std::vector<TrackPoint> points;
    if (!reader) {
        ADD_FAILURE() << "no reader for " << format;
        return points;
    }
    test::TempFolder folder;
    reader->readFrom(folder.write("track", text));
    feed(*reader, text, [&](std::string_view part) { reader->read(part, points); });
    return points;
}

// The heights the load reads from the same text.
std::vector<TrackHeight> heightsOf(const std::string& format, const std::string& text) {
    std::unique_ptr<TrackReader> reader = MakeTrackReader(format);
    std::vector<TrackHeight> heights;
    feed(*reader, text, [&](std::string_view part) { reader->readHeights(part, heights); });
    return heights;
}

const std::string kFolder = std::string(KORVEL_SOURCE_DIR) + "/tests/data/tracks/";

// A point as the files of expected points write it: "|" when it starts a segment ("-" when
// not), its position, date and time ("-" for none), its altitude ("-" for an empty one,
// "none" for none), and the text the list shows of it.
std::string shown(const TrackPoint& point) {
    const TrackFix& f = point.fix;
    return std::string(f.newSegment ? "|" : "-") + " " + f.latText + " " + f.latHemisphere + " " +
           f.lonText + " " + f.lonHemisphere + " " + f.day + "/" + f.month + "/" + f.year + " " +
           (f.timeText.empty() ? "-" : f.timeText) + " " +
           (!f.altitude               ? "none"
            : std::isnan(*f.altitude) ? "-"
                                      : Plain(*f.altitude)) +
           " <- " + Trim(point.text);
}

class TrackFile : public testing::TestWithParam<std::string> {};

} // namespace

// Every file of the test-data folder gives the points written beside it, in NAME.points:
// "format NAME" on its first line, then one line per point. The load's lighter reading finds
// the same points, segment starts and whole metres.
TEST_P(TrackFile, GivesItsPoints) {
    std::istringstream expected(test::ReadFile(kFolder + GetParam() + ".points"));
    std::string format, line;
    std::getline(expected, format);
    format = format.substr(format.find(' ') + 1);
    std::string text = test::ReadFile(kFolder + GetParam());
    std::vector<TrackPoint> points = pointsOf(format, text);
    std::string got, want;
    for (const TrackPoint& point : points)
        got += shown(point) + "\n";
    while (std::getline(expected, line))
        want += line + "\n";
    EXPECT_EQ(got, want);
    // A segment line ("N") is no point: it starts the next point's segment.
    std::vector<TrackHeight> heights;
    bool segmentLine = false;
    for (TrackHeight height : heightsOf(format, text)) {
        segmentLine = segmentLine || height.newSegment;
        if (height.point) {
            height.newSegment = std::exchange(segmentLine, false);
            heights.push_back(height);
        }
    }
    ASSERT_EQ(heights.size(), points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(heights[i].newSegment, points[i].fix.newSegment) << i;
        EXPECT_EQ(heights[i].altitude, WholeMetres(points[i].fix.altitude)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, TrackFile, testing::ValuesIn(test::DataFiles(kFolder, ".points")),
                         test::DataFileTestName);

TEST(TrackFormats, TheFirstLinesTellTheFormat) {
    const std::string both = "T  +52.4939833 +013.3811500 02-Dec-10 12:06:1: 0156";
    struct Case {
        const char* legend;
        std::vector<std::string> lines;
        const char* format; // nullptr: undecided at the end of the lines
    } cases[] = {
        {"a root with a namespace prefix",
         {"<gpx:gpx xmlns:gpx='http://www.topografix.com/GPX/1/1'>"},
         "GPX"},
        {"no root: an element of another name", {"<kmlx>", "<gpxdata>"}, nullptr},
        {"columns 4 and 41 match: TTQV wins", {"H header", both}, "TTQV-PCX"},
        {"the own header keeps its name whatever the columns say",
         {"I Korvel V1.0.0", "T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010 ;1;"},
         "Korvel"},
        {"Gardown", {"T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010"}, "Gardown"},
        {"G7To's ; in column 54",
         {"T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010 ;1;"},
         "G7To"},
        {"G7ToWin's : in column 47",
         {"T  N52 30 07.40 E013 22 33.45 Sat Dec 02 12:06:16 2010"},
         "G7ToWin"},
        {"PCX5's : in column 41", {"T  N5230.12345 E01322.56780 02-DEC-10 12:06:16 -9999"}, "PCX5"},
        {"free text that begins with T is no point", {"Tour of the lakes"}, nullptr},
        {"a point line no layout knows", {"T nothing that any layout knows"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        TrackFormatDetection detection;
        bool decided = false;
        for (const std::string& line : c.lines)
            if ((decided = detection.look(line)))
                break;
        EXPECT_EQ(decided, c.format != nullptr);
        EXPECT_EQ(detection.format(), c.format ? c.format : "");
    }
}

TEST(TrackFormats, TimesInUtc) {
    struct Case {
        const char *text, *date, *time; // nullptr: no time
    } cases[] = {
        {"2010-12-02T12:06:16.999Z", "02122010", "12:06:16"},
        {"2010-12-02t12:06:16z", "02122010", "12:06:16"},
        {"2010-12-31T23:30:00-01:00", "01012011", "00:30:00"},
        {"2011-03-01T00:30:00+0100", "28022011", "23:30:00"},
        {"2012-03-01T00:30:00+01", "29022012", "23:30:00"},
        {"2010-02-30T12:00:00Z", nullptr, nullptr},
        {"2010-12-02", nullptr, nullptr},
        {"2010-12-02T12:06:16 CET", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        TrackFix fix;
        EXPECT_EQ(SetIsoTime(fix, c.text), c.date != nullptr) << c.text;
        if (c.date) {
            EXPECT_EQ(fix.day + fix.month + fix.year, c.date) << c.text;
            EXPECT_EQ(fix.timeText, c.time) << c.text;
        }
    }
}
