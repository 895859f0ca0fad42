// The readers of the track formats: which lines are points, what each point carries, and how
// a file's format is told. The examples of the formats' layouts and the layouts real
// programs write.
#include "replay/formats/iso_time.h"
#include "replay/formats/track_formats.h"
#include "text/conversions.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

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

// The points a reader of the format reads from a text.
std::vector<TrackPoint> pointsOf(const std::string& format, const std::string& text) {
    std::unique_ptr<TrackReader> reader = MakeTrackReader(format);
    std::vector<TrackPoint> points;
    if (!reader) {
        ADD_FAILURE() << "no reader for " << format;
        return points;
    }
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

struct Expected {
    const char *format, *text;
    const char *lat, *latH, *lon, *lonH, *day, *month, *year, *time;
    const char* altitude; // nullptr: left as it was
};

} // namespace

TEST(TrackFormats, EveryFormatsFields) {
    const Expected cases[] = {
        {"KML", "<coordinates>\n 13.3811500,52.4939833,156\n</coordinates>", "5229.639", "N",
         "01322.869", "E", "00", "", "0000", "", "156"},
        // GPSBabel leaves an unknown altitude out: a pair, no altitude.
        {"KML", "<coordinates>-91.610567,-30.062783</coordinates>", "3003.767", "S", "09136.634",
         "W", "00", "", "0000", "", ""},
        {"KML", "<coordinates>+008.5155383,+48.2662716,768</coordinates>", "4815.976", "N",
         "00830.932", "E", "00", "", "0000", "", "768"},
        {"KML",
         "<gx:Track><when>2010-12-02T23:30:05+02:00</when>\n"
         "<gx:coord>-70.25 -33.5 520.4</gx:coord></gx:Track>",
         "3330.000", "S", "07015.000", "W", "02", "12", "2010", "21:30:05", "520.4"},
        {"GPX",
         "<trk><trkseg><trkpt lat=\"-33.5\" lon=\"-70.25\"><ele>520.4</ele>"
         "<time>2011-03-05T00:00:30.25Z</time></trkpt></trkseg></trk>",
         "3330.000", "S", "07015.000", "W", "05", "03", "2011", "00:00:30", "520.4"},
        {"GPX", "<rte><rtept lon='179.9999999' lat='0.0000001'/></rte>", "0000.000", "N",
         "18000.000", "E", "00", "", "0000", "", ""},
        // OziExplorer as OziExplorer pads it, and as GPSBabel writes it.
        {"OziExplorer", "  58.821140,  42.627060,1,  549.2,40230.3722801, 21-Feb-10, 08:56:05",
         "5849.268", "N", "04237.624", "E", "21", "02", "2010", "08:56:05", "167.39616"},
        {"OziExplorer", "47.466222,3.747318,1,1258.8,39307.3280015,,", "4727.973", "N", "00344.839",
         "E", "13", "08", "2007", "07:52:19", "383.68224"},
        {"OziExplorer", "  -5.500000,-105.250000,0, -777.0,39307.5,,", "0530.000", "S", "10515.000",
         "W", "13", "08", "2007", "12:00:00", ""},
        {"OziExplorer", "  58.821140,  42.627060,0,  549.2,, 21-Feb-10, 8:56:05", "5849.268", "N",
         "04237.624", "E", "21", "Feb", "2010", "08:56:05", "167.39616"},
        {"TTQV-PCX", "T  +52.4939833 +013.3811500 02-Dec-10 12:06:16 0156", "5229.639", "N",
         "01322.869", "E", "02", "Dec", "2010", "12:06:16", "0156"},
        {"TTQV-PCX", "T  -52.4939833 -013.3811500 02-Dec-81 12:06:16 0156", "5229.639", "S",
         "01322.869", "W", "02", "Dec", "1981", "12:06:16", "0156"},
        {"PCX5", "T  N3414.14767 W11819.11447 02-JAN-98 12:12:55 ", "3414.147", "N", "11819.114",
         "W", "02", "JAN", "1998", "12:12:55", nullptr},
        {"Korvel", "T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010 ;156;", "5230.123", "N",
         "01322.567", "E", "02", "Dec", "2010", "12:06:16", "156"},
        {"Gardown", "T  S52 30.1234 W013 22.5678 Sat Dec 02 12:06:16 2010 ;1e25;", "5230.123", "S",
         "01322.567", "W", "02", "Dec", "2010", "12:06:16", ""},
        {"G7To", "T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010", "5230.123", "N",
         "01322.567", "E", "02", "Dec", "2010", "12:06:16", nullptr},
        {"G7ToWin", "T  N52 30 12.34 E013 22 33.45 Sat Dec 02 12:06:16 2010 ;156;", "5230.206", "N",
         "01322.558", "E", "02", "Dec", "2010", "12:06:16", "156"},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(std::string(e.format) + ": " + e.text);
        std::string text = std::string(e.format) == "OziExplorer" ? kOziHeader + std::string(e.text)
                                                                  : std::string(e.text);
        std::vector<TrackPoint> points = pointsOf(e.format, text);
        ASSERT_EQ(points.size(), 1u);
        const TrackFix& fix = points[0].fix;
        EXPECT_EQ(fix.latText, e.lat);
        EXPECT_EQ(fix.latHemisphere, e.latH);
        EXPECT_EQ(fix.lonText, e.lon);
        EXPECT_EQ(fix.lonHemisphere, e.lonH);
        EXPECT_EQ(fix.day, e.day);
        EXPECT_EQ(fix.month, e.month);
        EXPECT_EQ(fix.year, e.year);
        EXPECT_EQ(fix.timeText, e.time);
        EXPECT_EQ(fix.altitude.has_value(), e.altitude != nullptr);
        if (fix.altitude && e.altitude) {
            EXPECT_EQ(*fix.altitude, e.altitude);
        }
        // The load's lighter reading finds the same point at the same height.
        std::vector<TrackHeight> heights = heightsOf(e.format, text);
        ASSERT_EQ(heights.size(), 1u);
        bool drawn = fix.altitude && !Trim(*fix.altitude).empty();
        EXPECT_EQ(heights[0].altitude,
                  drawn ? std::optional(Int(Val(*fix.altitude))) : std::nullopt);
    }
}

// What is a point, with the text the list shows for it, and where segments start ("|" before
// a point's text). Files as real programs write them.
TEST(TrackFormats, WhichPartsOfAFileArePoints) {
    struct Case {
        const char *legend, *format, *text, *points;
    } cases[] = {
        {"one tuple a line, markup indented; a description is no fix", "KML",
         "<kml>\n  <Placemark>\n    <description>\nMorning ride, 12 km, mostly flat\n"
         "    </description>\n    <LineString>\n      <coordinates>\n"
         "13.38,52.49,156\n13.39,52.50\n      </coordinates>\n    </LineString>\n"
         "  </Placemark>\n</kml>",
         "|13.38,52.49,156 13.39,52.50"},
        {"all tuples on one line, the document too", "KML",
         "<?xml version='1.0'?><kml xmlns='http://earth.google.com/kml/2.1'><Document>"
         "<Placemark><name>Ride</name><LineString><coordinates> 17.46,79.02,1178.20 "
         "17.47,79.03,1180 </coordinates></LineString></Placemark></Document></kml>",
         "|17.46,79.02,1178.20 17.47,79.03,1180"},
        {"several tuples a line, tabs and line breaks between them", "KML",
         "<coordinates>1,2,3\t4,5,6\n\n   7,8</coordinates>", "|1,2,3 4,5,6 7,8"},
        {"two placemarks, two segments; a single place is no track point", "KML",
         "<Placemark><Point><coordinates>9,9,9</coordinates></Point></Placemark>\n"
         "<Placemark><LineString><coordinates>1,2 3,4</coordinates></LineString></Placemark>\n"
         "<Placemark><LineString><coordinates>5,6</coordinates></LineString></Placemark>",
         "|1,2 3,4 |5,6"},
        {"comments between points, signed and zero-padded tuples", "KML",
         "<coordinates>\n+008.5155383,+48.2662716,768\n<!-- bat: 89% (3473) -->\n"
         "+008.5155384,+48.2662717,769\n</coordinates>",
         "|+008.5155383,+48.2662716,768 +008.5155384,+48.2662717,769"},
        {"what is no tuple is passed over", "KML",
         "<coordinates>1,2,3,4 a,b 1,95 200,1 7,8</coordinates>", "|7,8"},
        {"gx:Track: a when for each coordinate, in order", "KML",
         "<gx:Track>\n<when>2010-05-28T02:02:09Z</when>\n<when>2010-05-28T02:02:35Z</when>\n"
         "<gx:coord>-122.207881 37.371915 156.0</gx:coord>\n"
         "<gx:coord>-122.205712 37.373288 152.0</gx:coord>\n</gx:Track>",
         "|-122.207881 37.371915 156.0 -122.205712 37.373288 152.0"},
        {"GPX 1.1: track segments; waypoints and metadata are no points", "GPX",
         "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
         "<metadata><name>Trip</name></metadata><wpt lat=\"5\" lon=\"6\"><name>Camp</name></wpt>\n"
         "<trk><name>Day 1</name><trkseg>\n<trkpt lat=\"1\" lon=\"2\">\n  <ele>3</ele>\n"
         "</trkpt>\n<trkpt\n    lat=\"1.5\"\n    lon=\"2.5\"/>\n</trkseg><trkseg>"
         "<trkpt lat=\"4\" lon=\"5\"><time>2011-01-01T00:00:00Z</time></trkpt></trkseg></trk>"
         "</gpx>",
         "|1,2 3 1.5,2.5 |4,5 2011-01-01T00:00:00Z"},
        {"GPX 1.0 with a prefix, and a route", "GPX",
         "<gpx:gpx version='1.0'><gpx:rte><gpx:rtept lat='-1' lon='-2'></gpx:rtept>"
         "<gpx:rtept lat='-3' lon='-4'/></gpx:rte><gpx:rte><gpx:rtept lat='x' lon='1'/>"
         "<gpx:rtept lat='91' lon='1'/><gpx:rtept lat='7' lon='8'/></gpx:rte></gpx:gpx>",
         "|-1,-2 -3,-4 |7,8"},
        {"OziExplorer: after the header, lines that begin with a number", "OziExplorer",
         "OziExplorer Track Point File Version 2.1\nWGS 84\nAltitude is in Feet\n"
         "0,2,255,Track,1,0,2,8421376,0\n3\n2390\n47.5,3.7,1,1258.8,39307.3,,\nx,1,2\n"
         "  -5.5,  -105.2,0\n .5,1,1 , -777\n-.,1,1,1\n\n95,1,0",
         "|47.5,3.7,1,1258.8,39307.3,, -5.5,  -105.2,0 |.5,1,1 , -777"},
        {"fixed columns: a segment line starts the next point's segment", "Korvel",
         "I Korvel\nL  New Header: HOME\nT  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010\n"
         "N  New Track Segment\nTrack notes\nT  N52 31.1234 E013 22.5678 Sat Dec 02 12:07:16 2010",
         "T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010 "
         "|T  N52 31.1234 E013 22.5678 Sat Dec 02 12:07:16 2010"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        std::string shown;
        for (const TrackPoint& point : pointsOf(c.format, c.text))
            shown += (shown.empty() ? "" : " ") + std::string(point.fix.newSegment ? "|" : "") +
                     Trim(point.text);
        EXPECT_EQ(shown, c.points);
        // The load counts the same points and segment starts.
        long points = 0, segments = 0;
        for (const TrackHeight& height : heightsOf(c.format, c.text)) {
            points += height.point;
            segments += height.newSegment;
        }
        EXPECT_EQ(points, static_cast<long>(pointsOf(c.format, c.text).size()));
        EXPECT_EQ(segments, std::count(shown.begin(), shown.end(), '|'));
    }
}

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
        // The reader of the format told reads the point line in its layout.
        if (c.format && *c.format && c.lines.back().starts_with("T ")) {
            std::vector<TrackPoint> points = pointsOf(c.format, c.lines.back());
            ASSERT_EQ(points.size(), 1u);
            EXPECT_EQ(points[0].fix.latText, c.lines.back() == both ? "5229.639" : "5230.123");
        }
    }
}

TEST(TrackFormats, TimesInUtc) {
    struct Case {
        const char *text, *date, *time; // nullptr: no time
    } cases[] = {
        {"2010-12-02T12:06:16Z", "02122010", "12:06:16"},
        {"2010-12-02T12:06:16.999Z", "02122010", "12:06:16"},
        {"2010-12-02T12:06:16", "02122010", "12:06:16"},
        {"2010-12-31T23:30:00-01:00", "01012011", "00:30:00"},
        {"2011-03-01T00:30:00+0100", "28022011", "23:30:00"},
        {"2012-03-01T00:30:00+01", "29022012", "23:30:00"},
        {" 2010-12-02T12:06:16Z ", "02122010", "12:06:16"},
        {"2010-02-30T12:00:00Z", nullptr, nullptr},
        {"2010-12-02", nullptr, nullptr},
        {"12:06:16", nullptr, nullptr},
        {"2010-12-02T25:00:00Z", nullptr, nullptr},
        {"2010-12-02T12:06:16 CET", nullptr, nullptr},
        {"", nullptr, nullptr},
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

// The load reads an OziExplorer altitude in whole numbers where it can; whatever the
// altitude's text, it must show the whole metres the replayed point's text shows.
TEST(TrackFormats, OziHeightsAgreeWithThePoints) {
    // The third field starts a segment when it holds 1 and nothing else but spaces.
    for (auto [flag, starts] : {std::pair{"1", true},
                                {" 1 ", true},
                                {"  1", true},
                                {"0", false},
                                {"11", false},
                                {"1x", false},
                                {"", false},
                                {"01", false}}) {
        std::string text = kOziHeader + ("48.1,11.5," + std::string(flag) + ",100,40230.0,,");
        EXPECT_EQ(pointsOf("OziExplorer", text).at(0).fix.newSegment, starts) << flag;
        EXPECT_EQ(heightsOf("OziExplorer", text).at(0).newSegment, starts) << flag;
    }
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
        const std::optional<std::string>& altitude = points[0].fix.altitude;
        bool drawn = altitude && !Trim(*altitude).empty();
        ASSERT_EQ(heights[0].altitude, drawn ? std::optional(Int(Val(*altitude))) : std::nullopt)
            << line << " shows " << altitude.value_or("nothing");
    }
}
