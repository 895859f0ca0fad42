#include "replay/sentence_type.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(SentenceType, AnyTalkerCarriesTheType) {
    struct Case {
        const char* line;
        const char* type;
        bool starts, contains;
    } cases[] = {
        {"$GPRMC,1", "RMC", true, true},
        {"$INRMC,1", "RMC", true, true},
        {"$gprmc,1", "RMC", false, false}, // case counts, as in every search of the loader
        {"junk $GPRMC,1", "RMC", false, true},
        {"$$GPRMC", "RMC", false, true},
        {"$PGRMM,WGS 84*06", "RMM", true, true}, // proprietary: "$P" + "GR" + "MM"
        {"$G1RMC", "RMC", false, false},
        {"$GNRMCH,1", "RMC", false, false}, // another sentence with a longer name
        {"$GPRMC*4F", "RMC", true, true},
        {"$GNGSV,1", "", true, true}, // any sentence at all
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSentence(c.line, c.type), c.starts) << c.line;
        EXPECT_EQ(ContainsSentence(c.line, c.type), c.contains) << c.line;
    }
    // A line's first sentence and its first RMC, in one look.
    const size_t none = std::string_view::npos;
    struct Line {
        const char* line;
        size_t first;
        const char* type;
        size_t rmc;
    } lines[] = {
        {"$GPRMC,1", 0, "RMC", 0},
        {"\x01\xff$$GPGGA,1 $GNRMCH,2 $INRMC,3", 3, "GGA", 22},
        {"$GNRMCH,1 $gprmc,2", 0, "", none},
        {"no sentence $G", none, "", none},
    };
    for (const Line& l : lines) {
        LineSentences found = SentencesOfLine(l.line);
        EXPECT_EQ(found.first, l.first) << l.line;
        EXPECT_EQ(found.type, l.type) << l.line;
        EXPECT_EQ(found.rmc, l.rmc) << l.line;
    }
    // Several types in one look: each bit as the single search says.
    EXPECT_EQ(SentencesIn("$GPGGA,1 $GNRMC,2", {"RMC", "GGA", "VTG"}), 3u);
    EXPECT_EQ(SentencesIn("$GPVTG,1*55", {"RMC", "GGA", "VTG"}), 4u);
    EXPECT_EQ(SentencesIn("$GPRMCX $gpgga", {"RMC", "GGA", "VTG"}), 0u);
}
