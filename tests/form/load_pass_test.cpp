// A file large enough to be read on two cores loads as it would on one.
#include "support/replay_fixture.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace korvel;
using test::Log;

namespace {

class LoadPass : public test::ReplayFixture {};

const int kPoints = 60000;

// An OziExplorer track with a point that starts a segment late in it, and its highest point
// later still.
std::vector<std::string> bigTrack() {
    std::vector<std::string> lines = {"OziExplorer Track Point File Version 2.1",
                                      "WGS 84",
                                      "Altitude is in Feet",
                                      "Reserved 3",
                                      "0,2,255,Big,0,0,2,8421376",
                                      "0"};
    for (int i = 0; i < kPoints; ++i) {
        lines.push_back("  48.117300,  11.516700," + std::string(i == 45000 ? "1" : "0") + ", " +
                        std::to_string(i == 50000 ? 6000 : 1000) + ".0,40230.0000000,,");
    }
    return lines;
}

} // namespace

// A large track counts its points and segment starts and profiles its altitudes as one core
// would, whether the second core could open the file or not: with no file descriptor beyond
// the one the form's own reading takes, the first core reads it all.
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
    for (const rlimit& limit : {before, tight}) {
        SCOPED_TRACE(limit.rlim_cur);
        program.write("Tracks/big.plt", Log(bigTrack()));
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
        click(program.file("Tracks/big.plt"));
        setrlimit(RLIMIT_NOFILE, &before);
        EXPECT_EQ(engine.count, kPoints);
        EXPECT_TRUE(c.AutoSkip.enabled) << "the segment start lies in the second half";
        EXPECT_EQ(c.DIA.toolTip, "Altitude: 304-1828m");
        int markers = 0;
        for (const PictureBox::Op& op : c.DIA.ops)
            markers += op.color == RGB(0, 200, 0);
        EXPECT_EQ(markers, 1) << "the point that starts a segment";
        c.StopA.onClick();
    }
}
