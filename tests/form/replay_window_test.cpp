// A replay as the window runs it: paced by its timer, looped after a second's pause, refused
// with a message and the window idle again, restarted from the transport row.
#include "replay/sentence.h"
#include "support/replay_fixture.h"

#include <gtest/gtest.h>

using namespace korvel;
using test::Log;
using test::Rmc;

namespace {

const std::string kGsa = FrameSentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");

class ReplayWindow : public test::ReplayFixture {};

} // namespace

TEST_F(ReplayWindow, PacingFollowsTheIntervalLessTheStepsDuration) {
    std::vector<std::string> file;
    for (int i = 0; i < 10; ++i)
        file.push_back(Rmc(i));
    load("pace.log", Log(file));
    ASSERT_EQ(c.Timer1.interval(), 100);
    platform.clock.advance(200); // the first tick and its step: no step before it
    EXPECT_EQ(s.stepDurationMs, 100);
    EXPECT_EQ(c.Timer1.interval(), 1000);
    // One second between records: the 100 ms from the previous tick to its step come off.
    platform.clock.advance(1100);
    EXPECT_EQ(c.Timer1.interval(), 900);

    engine.options.intervalMs = 100; // "cont": no compensation
    platform.clock.advance(1000);
    EXPECT_EQ(c.Timer1.interval(), 100);

    c.Last.value.set(1);
    engine.options.intervalMs = 1000;
    platform.clock.advance(2000);
    EXPECT_EQ(c.Timer1.interval(), 6000);
}

TEST_F(ReplayWindow, LoopStartsAgainAfterASecond) {
    checkAll(false);
    c.Data[0].value.set(1);
    engine.options.intervalMs = 100;
    load("loop.log", Log({Rmc(0), Rmc(1), Rmc(2)}));
    c.Lop.value.set(1);
    platform.clock.advance(3 * 200);
    // The third step met the end of the file: the list shows the loop and the file restarts.
    EXPECT_EQ(c.List1.items, std::vector<std::string>{std::string(80, '>')});
    EXPECT_TRUE(engine.active);
    EXPECT_EQ(engine.index, 0);
    platform.clock.advance(2000);
    std::vector<std::string> sent = sentLines();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(sent[3], Rmc(0));
    EXPECT_EQ(sent[4], Rmc(1));
}

TEST_F(ReplayWindow, LogsThatCannotBeReplayedReturnToIdle) {
    load("no-fix.log", Log({kGsa, kGsa}));
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text, "No RMC or GGA-Data");
    EXPECT_EQ(platform.dialogs.messages[0].title, " Data-Error !");
    EXPECT_FALSE(engine.active);
    EXPECT_TRUE(c.File1.enabled);
    EXPECT_EQ(platform.host.quits, 0);

    // RMC only inside lines: nothing starts a record.
    load("inside.log", Log({kGsa, "xx " + Rmc(0), "yy " + Rmc(1)}));
    EXPECT_FALSE(engine.active);
    EXPECT_FALSE(c.Timer1.enabled());
    EXPECT_FALSE(c.List1.items.empty());

    load("empty.log", "");
    ASSERT_GE(c.List1.items.size(), 2u);
    EXPECT_EQ(c.List1.items.end()[-2], "No Log-File !");
    EXPECT_EQ(c.List1.items.back(), "The file is empty.");
    EXPECT_TRUE(c.File1.enabled);
}

// After a restart the trip counts from the file's first point, not from the leg back to it.
TEST_F(ReplayWindow, ARestartStartsTheTripAtTheFirstPoint) {
    // Korvel's own track: four points a minute of latitude apart.
    std::vector<std::string> lines = {"I Korvel V0.1.0", "# 02.12.2010 13:00:00  Local Time"};
    for (int minute = 30; minute <= 33; ++minute)
        lines.push_back("T  N52 " + std::to_string(minute) +
                        ".0000 E013 22.0000 Sat Dec 02 12:00:00 2010 ;156;");
    load("walk.trk", Log(lines));
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(c.TripL.caption, "3.7") << "two legs of a minute of latitude";
    form.RESTART_Click();
    tick();
    EXPECT_EQ(c.TripL.caption, "0.0");
}
