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

// A receiver without a fix starts the log: its record has no position, and the trip starts at
// the first that has one, in the southern and western hemispheres as anywhere.
TEST_F(ReplayWindow, ARecordWithoutAPositionStartsNoTrip) {
    load("no-fix-first.log",
         Log({FrameSentence("GPRMC,120000,V,,,,,,,101226,,"),
              FrameSentence("GPRMC,120001,A,3345.000,S,07030.000,W,0.0,0.0,101226,,"),
              FrameSentence("GPRMC,120002,A,3346.000,S,07030.000,W,0.0,0.0,101226,,"),
              FrameSentence("GPRMC,120003,A,3346.000,S,07030.000,W,0.0,0.0,101226,,")}));
    for (int record = 0; record < 3; ++record)
        tick();
    EXPECT_EQ(c.DistL.caption, "1.8") << "one minute of arc south: 1.85 km";
    EXPECT_EQ(c.TripL.caption, "1.9");
}

// Every figure the window shows is the record just sent: its clock, its speed, its place in
// the file; and what the last record of one file said does not reach the next.
TEST_F(ReplayWindow, TheFiguresAreTheRecordSent) {
    auto record = [](int i, const char* course) {
        return FrameSentence("GPRMC,12000" + std::to_string(i) + ",A,4807.038,N,01131.000,E,0" +
                             std::to_string(10 + i) + ".0," + course + ",101226,,");
    };
    load("moving.log", Log({record(0, "010.0"), record(1, "020.0"), record(2, "030.0"),
                            record(3, "040.0"), record(4, "050.0")}));
    for (int i = 0; i < 3; ++i)
        tick();
    std::vector<std::string> sent = sentLines();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], record(2, "030.0"));
    EXPECT_EQ(sent.back(), FrameSentence("GPVTG,030.0,T,,M,012.0,N,22,K"));
    EXPECT_EQ(c.Zeit.caption, "12:00:02");
    EXPECT_EQ(c.SpeedL.caption, "22") << "12 kn";
    EXPECT_EQ(c.Gauge2.toolTip, "Records: 3/ 5");
    EXPECT_EQ(c.Gauge1.value, 120) << "the needle at 30 degrees";

    runToEnd();
    load("standing.log",
         Log({FrameSentence("GPRMC,130000,A,4807.038,N,01131.000,E,,,101226,,"), Rmc(1)}));
    tick();
    EXPECT_EQ(sentLines().back(), FrameSentence("GPVTG,,T,,M,,N,,K"))
        << "no course or speed of the file before";
}
