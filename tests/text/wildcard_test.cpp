#include "text/wildcard.h"

#include <gtest/gtest.h>
#include <string>

using namespace korvel;

TEST(Wildcard, PatternListsMatchNames) {
    struct Case {
        const char* name;
        const char* patterns;
        bool matches;
    } cases[] = {
        {"tour.NMA", "*.log;*.nma", true},
        {"tour.kml", "*.log;*.nma", false},
        {"tour.log", "*.log*", true},
        {"tour.log.bak", "*.log*", true},
        {"2011.plt", "2010*.plt", false},
        {"xa.trl", "x*.trl;x*.trk", true},
        {"a.trl", "x*.trl;x*.trk", false},
        {"a.b", "?.?", true},
        {"ab.b", "?.?", false},
        {"name", "", false},
        {"name", ";;", false},
        {"a.log", " *.log ; *.nma", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesPattern(c.name, c.patterns), c.matches) << c.name << " ~ " << c.patterns;
}
