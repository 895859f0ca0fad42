// A file large enough to be read on two cores loads as it would on one.
#include "replay/load_tally.h"
#include "replay/sentence_type.h"
#include "support/engine_run.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

using namespace korvel;

namespace {

class LoadPass : public test::EngineRun {};

const int kPoints = 60000;

// An OziExplorer track with a point that starts a segment late in it, and its highest point
// later still.
std::string bigTrack() {
    std::string track = "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\n"
                        "Altitude is in Feet\r\nReserved 3\r\n0,2,255,Big,0,0,2,8421376\r\n0\r\n";
    for (int i = 0; i < kPoints; ++i)
        track += "  48.117300,  11.516700," + std::string(i == 45000 ? "1" : "0") + ", " +
                 std::to_string(i == 50000 ? 6000 : 1000) + ".0,40230.0000000,,\r\n";
    return track;
}

} // namespace

// A large track counts its points and segment starts and profiles its altitudes as one core
// would, whether the second core could open the file or not: with no file descriptor beyond
// the one the engine's own reading takes, the first core reads it all.
TEST_F(LoadPass, ALargeTrackCountsItsPointsAndSegmentsOnce) {
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
    int lowest = dup(0);
    ASSERT_GE(lowest, 0);
    close(lowest);
    rlimit tight = before;
    tight.rlim_cur = static_cast<rlim_t>(lowest) + 1;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The sanitizers' own runtime opens files while the load runs.
    tight = before;
#endif
    const std::string track = bigTrack();
    for (const rlimit& limit : {before, tight}) {
        SCOPED_TRACE(limit.rlim_cur);
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
        LoadResult loaded = load("big.plt", track);
        setrlimit(RLIMIT_NOFILE, &before);
        EXPECT_EQ(engine.count, kPoints);
        EXPECT_TRUE(loaded.segments) << "the segment start lies in the second half";
        EXPECT_EQ(loaded.curve.lowest(), 305) << "1000 ft, 304.8 m, to the nearest metre";
        EXPECT_EQ(loaded.curve.highest(), 1829);
        int markers = 0;
        for (const AltitudeCurve::Marker& marker : loaded.curve.markers())
            markers += marker.segmentStart;
        EXPECT_EQ(markers, 1) << "the point that starts a segment";
    }
}

// A line the sweep counts on its own is counted as it would be looked at alone; the lines of
// another shape are left to that look.
TEST(LoadTally, ASweptLineCountsAsOneLookedAtAlone) {
    struct Case {
        std::string line;
        bool swept;
    } cases[] = {
        {"$GPRMC,120000.00,A,4807.038,N,01131.000,E,022.4,084.4,230394,,,A*5C", true},
        {"$GPRMC,120000.00,A,4807.038,N,01131.000,E,022.4,084.4,230394,,,A*5D", true},
        {"$GPGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*67", true},
        {"$GPVTG,084.4,T,077.8,M,022.4,N,041.5,K*4a", true},
        {"$GPGGA*56", false}, // too short to be worth it
        {"$GPVTG*4B0", false},
        {"$GPRMCH,1,2*00", true},
        {"$IIGSV,2,1,08,01,40,083,46*7X", false},
        {"$GPRMC,120000,A*2C  ", false},
        {"$gpRMC,120000,A*2C", false},
        {"$GPRMC,120000,A", false},
        {"$GPGGA,1,2*44$GPRMC,3,4*50", false},
        {"$GPGGA,1,2,3*44!AIVDM,1*00", false},
        {"12:00:00 $GPRMC,120000,A*2C", false},
        {"!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        LineSurvey survey;
        for (char ch : c.line)
            survey.xorOfBytes ^= static_cast<unsigned char>(ch);
        survey.sentenceMarks = c.line.find_first_of("$!", 1) != std::string::npos;
        LoadTally swept, alone;
        EXPECT_EQ(swept.sweptLogLine(c.line, survey), c.swept);
        alone.logLine(SentencesIn(c.line, {"RMC", "GGA", "VTG"}));
        alone.checkLine(c.line);
        if (!c.swept)
            continue;
        EXPECT_EQ(std::tie(swept.rmcLines, swept.ggaLinesBeforeRmc, swept.rmc, swept.gga, swept.vtg,
                           swept.checksumsRight, swept.checksumsWrong, swept.withoutChecksum),
                  std::tie(alone.rmcLines, alone.ggaLinesBeforeRmc, alone.rmc, alone.gga, alone.vtg,
                           alone.checksumsRight, alone.checksumsWrong, alone.withoutChecksum));
    }
}
