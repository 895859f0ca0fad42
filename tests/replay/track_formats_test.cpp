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
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <iomanip>
#include <random>
#include <sstream>

using namespace korvel;

namespace {

const char* const kOziHeader = "OziExplorer Track Point File Version 2.1\nWGS 84\n"
                               "Altitude is in Feet\nReserved 3\n0,2,255,Track,0,0,2,8421376\n0\n";

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
        {"OziExplorer at its first line",
         {"OziExplorer Track Point File Version 2.1"},
         "OziExplorer"},
        {"the KML root after the declaration", {"<?xml version=\"1.0\"?>", "<kml"}, "KML"},
        {"a KML document on one line",
         {"<?xml version='1.0'?><kml xmlns='http://earth.google.com/kml/2.1'><Document>"},
         "KML"},
        {"GPX", {"<?xml version=\"1.0\"?>", "<gpx version=\"1.1\" creator=\"x\">"}, "GPX"},
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
        {"2010-12-02T12:06:16Z", "02122010", "12:06:16"},
        {"2010-12-02T12:06:16.999Z", "02122010", "12:06:16"},
        {"2010-12-31T23:30:00-01:00", "01012011", "00:30:00"},
        {"2011-03-01T00:30:00+0100", "28022011", "23:30:00"},
        {"2012-03-01T00:30:00+01", "29022012", "23:30:00"},
        {"2010-02-30T12:00:00Z", nullptr, nullptr},
        {"2010-12-02", nullptr, nullptr},
        {"2010-12-02T25:00:00Z", nullptr, nullptr},
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

// A position written from numbers carries the minutes its texts and hemispheres say, to the
// last bit and the sign of a zero: the replay takes them instead of reading the texts back.
TEST(TrackFormats, PositionsCarryTheMinutesTheirTextsSay) {
    std::mt19937_64 random(23);
    auto bits = [](double x) { return std::bit_cast<std::uint64_t>(x); };
    for (int i = 0; i < 200000; ++i) {
        double lat = static_cast<double>(random() % 180000001) / 1e6 - 90;
        double lon = std::ldexp(static_cast<double>(random() % 360000001) - 180000000, -20);
        if (i % 100 == 0)
            lat = -std::ldexp(1, -static_cast<int>(random() % 60)); // just south of the equator
        if (i % 100 == 1)
            lat = i % 200 == 1 ? 0.0 : -0.0; // on it
        TrackFix fix;
        SetPosition(fix, lat, lon);
        ASSERT_EQ(bits(fix.latMinutes), bits(SignedMinutesOfArc(fix.latText, fix.latHemisphere)))
            << std::setprecision(17) << lat << " " << fix.latText;
        ASSERT_EQ(bits(fix.lonMinutes), bits(SignedMinutesOfArc(fix.lonText, fix.lonHemisphere)))
            << std::setprecision(17) << lon << " " << fix.lonText;
    }
}

// The load and the replay read an OziExplorer altitude in whole numbers where they can;
// whatever the altitude's text, they must give the whole metres of its general reading.
TEST(TrackFormats, OziAltitudesInWholeNumbersAgreeWithTheGeneralReading) {
    std::unique_ptr<TrackReader> reader = MakeTrackReader("OziExplorer")->resumed();
    std::vector<TrackPoint> points;
    std::vector<TrackHeight> heights;
    std::mt19937_64 random(17);
    const char* odd[] = {"-777", " -777.0", "-777.0000", "-0",        "-0.0", "1e3",
                         "\t5",  "+12.5",   ".5",        "5.",        "-.5",  "",
                         "x",    "-",       "12.34567",  "1234567890"};
    for (int i = 0; i < 300000; ++i) {
        std::string feet;
        if (i % 3 == 0) {
            // Any digits, with or without a point.
            feet = std::to_string(random() % 100000000000ull);
            feet.resize(1 + random() % feet.size());
            if (random() % 3 != 0)
                feet.insert(random() % (feet.size() + 1), ".");
        } else {
            // Metres whole or a hair from whole, up to the largest with nine digits of feet:
            // 1250 feet are 381 metres.
            bool large = random() % 2;
            long long metres = static_cast<long long>(random() % (large ? 300000000 : 20000));
            double off = i % 3 == 1
                             ? 0
                             : static_cast<double>(random() % 2001 - 1000) * (large ? 1e-8 : 1e-12);
            char text[40];
            std::snprintf(text, sizeof text, "%.*f", static_cast<int>(random() % 7),
                          (static_cast<double>(metres) + off) / 0.3048);
            feet = text;
        }
        if (i % 500 == 0)
            feet = odd[random() % std::size(odd)];
        const char* signs[] = {"", "-", " ", "  -", "+"};
        if (feet.empty() || (feet[0] != '-' && feet[0] != '+'))
            feet.insert(0, signs[random() % 5]);
        std::string line = "  48.1,  11.5,0," + feet + ",40230.0,,";
        points.clear();
        heights.clear();
        reader->read(line, points);
        reader->readHeights(line, heights);
        ASSERT_EQ(points.size(), 1u);
        ASSERT_EQ(heights.size(), 1u);
        // The general reading: the feet as a number, in metres, written and read back whole.
        std::optional<double> metres;
        if (StartsWithNumber(feet) && Val(feet) != -777)
            metres = Int(Val(Plain(Val(feet) * 0.3048)));
        ASSERT_EQ(heights[0].altitude, metres) << line;
        ASSERT_EQ(WholeMetres(points[0].fix.altitude), metres) << line;
    }
}
