// Every file of the test-data folder replays as the stream written beside it, its first record
// with the first tick.
#include "support/replay_fixture.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

class GoldenStream : public test::ReplayFixture {};

} // namespace

TEST_F(GoldenStream, EveryFileSendsItsStream) {
    int cases = 0;
    for (const auto& entry :
         fs::directory_iterator(std::string(KORVEL_SOURCE_DIR) + "/tests/data/replay")) {
        std::string path = entry.path().string();
        if (!fs::exists(path + ".nmea-out"))
            continue;
        SCOPED_TRACE(path);
        ++cases;
        platform.comm1.written.clear();
        click(path);
        // Whatever comes before the first record (headers, markup) costs no tick.
        tick();
        EXPECT_FALSE(platform.comm1.written.empty()) << "nothing sent by the first tick";
        runToEnd();
        EXPECT_EQ(s.replayActive, 0);
        EXPECT_EQ(platform.comm1.written, test::ReadFile(path + ".nmea-out"));
    }
    EXPECT_GT(cases, 0);
}
