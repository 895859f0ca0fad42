#include "cli/headless_replay.h"
#include "support/engine_run.h"
#include "support/replay_fixture.h"
#include "support/virtual_platform.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using test::Log;
using test::Rmc;

namespace {
class HeadlessReplayTest : public test::EngineRun {};
} // namespace

// A looped file starts again after its last record; one removed meanwhile ends the run as a
// failure, saying why, rather than as a replay that reached its end.
TEST_F(HeadlessReplayTest, ALoopStartsAgainUntilItsFileIsGone) {
    std::string path = folder.write("loop.log", Log({Rmc(1), Rmc(2)}));
    test::VirtualPlatform platform;
    Outputs outputs(platform.platform);
    OutputSink sink(outputs);
    HeadlessReplay replay(engine, outputs, sink);
    engine.options.loop = true;
    only({Sentence::Rmc}); // the log's own sentences only, no VTG made
    ASSERT_TRUE(replay.start(path, "COM1", platform.clock.now()));
    EXPECT_TRUE(replay.step().counted);
    HeadlessReplay::Step end = replay.step();
    EXPECT_TRUE(end.looped);
    EXPECT_TRUE(engine.active);
    EXPECT_EQ(engine.index, 0);
    std::filesystem::remove(path);
    testing::internal::CaptureStderr();
    replay.step();
    replay.step();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "korvel: Cannot open " + path + ": No such file or directory\n");
    EXPECT_TRUE(replay.loopFailed());
    EXPECT_FALSE(engine.active);
    EXPECT_EQ(platform.comm1.written, Log({Rmc(1), Rmc(2), Rmc(1), Rmc(2)}));
}
