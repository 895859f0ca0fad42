// A replay as the window runs it: paced by its timer, or refused with a message and the window
// idle again.
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

TEST_F(ReplayWindow, LogsThatCannotBeReplayedReturnToIdle) {
    load("no-fix.log", Log({kGsa, kGsa}));
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text, "No RMC or GGA-Data");
    EXPECT_EQ(platform.dialogs.messages[0].title, " Data-Error !");
    EXPECT_FALSE(engine.active);
    EXPECT_TRUE(c.File1.enabled);
    EXPECT_EQ(platform.host.quits, 0);

    // RMC only after another sentence on its lines: nothing starts a record.
    load("inside.log", Log({kGsa, kGsa + Rmc(0), kGsa + Rmc(1)}));
    EXPECT_FALSE(engine.active);
    EXPECT_FALSE(c.Timer1.enabled());
    ASSERT_FALSE(c.List1.items.empty());
    EXPECT_EQ(c.List1.items.back(), "No line begins with an RMC sentence !");
    EXPECT_TRUE(c.File1.enabled);
}
