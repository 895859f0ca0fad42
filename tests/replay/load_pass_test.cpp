// A file large enough to be read on two cores loads as it would on one.
#include "support/engine_run.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
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
