#include "replay/track_record.h"
#include "text/conversions.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <random>

using namespace korvel;

namespace {

struct Expected {
    const char *format, *line;
    const char *lat, *latH, *lon, *lonH, *day, *month, *year, *time;
    const char* altitude; // nullptr: left as it was
};

} // namespace

TEST(TrackRecord, EveryFormatsFields) {
    const Expected cases[] = {
        {"KML", " 13.3811500,52.4939833,156", "5229.639", "N", "01322.869", "E", "00", "", "0000",
         "", "156"},
        {"KML", "-91.610567,-30.062783", "3003.767", "S", "09136.634", "W", "00", "", "0000", "",
         ""},
        {"KML", "+008.5155383,+48.2662716,768", "4815.976", "N", "00830.932", "E", "00", "", "0000",
         "", "768"},
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
        // Too short for its layout: what the cuts give, and no failure.
        {"Gardown", "T", "", "", "", "", "", "", "", "", nullptr},
        {"OziExplorer", "", "0000.000", "N", "00000.000", "E", "", "", "20", "", ""},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(std::string(e.format) + ": " + e.line);
        TrackFix fix = ReadTrackRecord(e.format, e.line);
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
        // The altitude profile's lighter reading agrees.
        TrackHeight height = ReadTrackHeight(e.format, e.line);
        bool drawn = fix.altitude && !Trim(*fix.altitude).empty();
        EXPECT_EQ(height.altitude, drawn ? std::optional(Int(Val(*fix.altitude))) : std::nullopt);
        EXPECT_EQ(height.newSegment, fix.newSegment);
    }
}

// The altitude profile reads an OziExplorer altitude in whole numbers where it can; whatever the
// altitude's text, it must show the whole metres the replayed record's text shows.
TEST(TrackRecord, OziProfileReadingAgreesWithTheRecord) {
    // The third field starts a segment when it holds 1 and nothing else but spaces.
    for (auto [flag, starts] : {std::pair{"1", true},
                                {" 1 ", true},
                                {"  1", true},
                                {"1 ", true},
                                {"0", false},
                                {"11", false},
                                {"1x", false},
                                {" ", false},
                                {"", false},
                                {"01", false}}) {
        std::string line = std::string("48.1,11.5,") + flag + ",100,40230.0,,";
        EXPECT_EQ(ReadTrackRecord("OziExplorer", line).newSegment, starts) << line;
        EXPECT_EQ(ReadTrackHeight("OziExplorer", line).newSegment, starts) << line;
    }
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
        TrackFix fix = ReadTrackRecord("OziExplorer", line);
        bool drawn = fix.altitude && !Trim(*fix.altitude).empty();
        ASSERT_EQ(ReadTrackHeight("OziExplorer", line).altitude,
                  drawn ? std::optional(Int(Val(*fix.altitude))) : std::nullopt)
            << line << " shows " << fix.altitude.value_or("nothing");
    }
}

TEST(TrackRecord, PositionTextsMonthsAndCenturies) {
    EXPECT_EQ(PositionText(52.4939833 * 60, 2), "5229.639");
    EXPECT_EQ(PositionText(13.38115 * 60, 3), "01322.869");
    EXPECT_EQ(PositionText(10 * 60 + 59.9996, 2), "1100.000") << "no position shows 60.000";
    EXPECT_EQ(PositionText(10 * 60 + 59.9994, 3), "01059.999");
    EXPECT_EQ(PositionText(0, 2), "0000.000");

    struct Month {
        const char *text, *number;
    } months[] = {{"Dec", "12"}, {"DEC", "12"}, {"dec", "12"}, {"12", "12"},
                  {"Jan", "01"}, {"Foo", "00"}, {"", "00"},    {"ao\xfbt", "00"}};
    for (const Month& m : months)
        EXPECT_EQ(MonthNumber(m.text), m.number) << m.text;
    EXPECT_EQ(FourDigitYear("80"), "2080");
    EXPECT_EQ(FourDigitYear("81"), "1981");
    EXPECT_EQ(FourDigitYear("00"), "2000");
}

TEST(TrackRecord, WhichLinesAreRecords) {
    struct Case {
        const char *format, *line;
        long lineNumber;
        bool record;
    } cases[] = {
        {"KML", " 13.38,52.49,156", 20, true},
        {"KML", "13.38,52.49", 20, true},
        {"KML", "    <Placemark>", 20, false}, // indented markup
        {"KML", "<coordinates>1,2,3", 20, false},
        {"KML", "]]></description>", 20, false},
        {"KML", "", 20, false},
        {"OziExplorer", "0,2,255,Track,1,0,2,8421376,0", 5, false}, // a header line
        {"OziExplorer", "2390", 6, false},
        {"OziExplorer", "47.466222,3.747318,1,1258.8,39307.3280015,,", 7, true},
        {"OziExplorer", "  -5.5,  -105.2,0", 8, true},
        {"OziExplorer", "x,1,2", 8, false},
        {"OziExplorer", " .5,1,1 , -777", 8, true},
        {"OziExplorer", "+1,2,0,\t12.5", 9, true},
        {"OziExplorer", "-.,1,1,1", 9, false},
        {"OziExplorer", "", 9, false},
        {"Korvel", "T  N52 30.1234", 3, true},
        {"Korvel", "N  New Track Segment", 3, false},
        {"", "T", 1, true},
    };
    for (const Case& c : cases) {
        std::string format = c.format;
        std::string marker = format == "KML" || format == "OziExplorer" ? " " : "T";
        EXPECT_EQ(IsTrackRecord(format, c.line, c.lineNumber, marker), c.record)
            << c.format << ": " << c.line;
        if (format != "OziExplorer" || c.lineNumber <= 6)
            continue;
        // The load's one look at such a line tells the same, and reads the same height.
        TrackHeight height;
        ASSERT_EQ(ReadOziPointHeight(c.line, height), c.record) << c.line;
        if (c.record) {
            TrackHeight read = ReadTrackHeight(format, c.line);
            EXPECT_EQ(height.altitude, read.altitude) << c.line;
            EXPECT_EQ(height.newSegment, read.newSegment) << c.line;
        }
    }
    EXPECT_TRUE(IsKmlRoot("<kml xmlns=\"http://www.opengis.net/kml/2.2\">"));
    EXPECT_TRUE(IsKmlRoot("<kml"));
    EXPECT_TRUE(IsKmlRoot("<kml>"));
    EXPECT_FALSE(IsKmlRoot("<kmlx>"));
}
