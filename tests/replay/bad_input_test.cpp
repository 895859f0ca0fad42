// Files no receiver wrote, and files that change under a running replay: each gives a clear
// message or a replay of what can be read, never a crash, and the window stays usable.
#include "support/replay_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using namespace korvel;
using korvel::test::Log;

namespace {

class BadInput : public test::ReplayFixture {
  protected:
    // RMC alone leaves, so that what is sent is what the files hold.
    BadInput() {
        checkAll(false);
        c.Data[0].value.set(1);
    }
    // The window is idle again and a good log still replays.
    void expectUsable() {
        runToEnd();
        EXPECT_FALSE(engine.active);
        EXPECT_TRUE(c.File1.enabled);
        platform.comm1.written.clear();
        load("good.log", Log({test::Rmc(0), test::Rmc(1)}));
        runToEnd();
        EXPECT_EQ(sentLines().front(), test::Rmc(0));
    }
};

} // namespace

TEST_F(BadInput, RandomBytesInEveryKindOfFile) {
    std::mt19937 random(2026);
    for (const char* name : {"noise.log", "noise.trk", "noise.plt", "noise.kml"}) {
        SCOPED_TRACE(name);
        std::string noise(1 << 20, '\0');
        for (char& byte : noise)
            byte = static_cast<char>(random());
        load(name, noise);
        expectUsable();
    }
    // Sentences broken by NUL bytes replay as they stand, with their NULs.
    std::string broken = test::Rmc(0) + "\r\n" + std::string("$GPRMC,\0\0\0,A,,,,\0*00", 21) +
                         "\r\n" + test::Rmc(2) + "\r\n";
    platform.comm1.written.clear();
    load("nul.log", broken);
    runToEnd();
    EXPECT_EQ(sentLines().size(), 3u);
    expectUsable();
}

TEST_F(BadInput, TheFileTruncatedWhileItPlays) {
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i)
        lines.push_back(test::Rmc(i));
    load("moving.log", Log(lines));
    for (int i = 0; i < 5; ++i)
        tick();
    std::filesystem::resize_file(program.file("Tracks/moving.log"), 100);
    runToEnd();
    EXPECT_FALSE(engine.active) << "the replay ends";
    std::vector<std::string> sent = sentLines();
    ASSERT_GE(sent.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(sent[i], test::Rmc(static_cast<int>(i)));
    EXPECT_EQ(std::filesystem::file_size(program.file("Tracks/moving.log")), 100u);
    expectUsable();
}
