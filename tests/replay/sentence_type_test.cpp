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
}
