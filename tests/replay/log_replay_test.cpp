#include "replay/sentence.h"
#include "support/replay_fixture.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace korvel;
using korvel::test::Log;

namespace {

std::string rmc(const std::string& time, const std::string& knots = "022.4",
                const std::string& lat = "4807.038", const std::string& talker = "GP") {
    return FrameSentence(talker + "RMC," + time + ",A," + lat + ",N,01131.000,E," + knots +
                         ",084.4,230394,003.1,W");
}
std::string gga(const std::string& time, const std::string& alt = "545.4") {
    return FrameSentence("GPGGA," + time + ",4807.038,N,01131.000,E,1,08,0.9," + alt +
                         ",M,46.9,M,,");
}
const std::string kVtg = FrameSentence("GPVTG,084.4,T,077.8,M,022.4,N,041.5,K");
const std::string kGsa = FrameSentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
const std::string kDatum = "$PGRMM,WGS 84*06";

class LogReplay : public test::ReplayFixture {};

} // namespace

TEST_F(LogReplay, PacingFollowsTheIntervalLessTheStepsDuration) {
    std::vector<std::string> file;
    for (int i = 0; i < 10; ++i)
        file.push_back(rmc("1200" + std::to_string(10 + i)));
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

// A log being written is followed at its end: every tick sends its newest whole record (its
// speed in the VTG made for it), never a sentence cut short at the end of the file.
TEST_F(LogReplay, LastSendsTheNewestRecordOfAGrowingLog) {
    checkAll(false);
    for (int box : {0, 1, 2})
        c.Data[box].value.set(1);
    load("growing.log", Log({rmc("120000"), gga("120000"), rmc("120001", "010.0"), gga("120001")}));
    c.Last.value.set(1);
    tick();
    std::ofstream(program.file("Tracks/growing.log"), std::ios::app)
        << rmc("120002", "005.0") << "\r\n"
        << gga("120002") << "\r\n"
        << "$GPRMC,120003,A,48";
    tick();
    std::vector<std::string> sent = sentLines();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 2),
              (std::vector<std::string>{rmc("120001", "010.0"), gga("120001")}));
    EXPECT_NE(sent[2].find(",010.0,N,"), std::string::npos) << sent[2];
    EXPECT_EQ(std::vector<std::string>(sent.begin() + 3, sent.begin() + 5),
              (std::vector<std::string>{rmc("120002", "005.0"), gga("120002")}));
    EXPECT_NE(sent[5].find(",005.0,N,"), std::string::npos) << sent[5];
    EXPECT_TRUE(engine.active);
}

TEST_F(LogReplay, LoopStartsAgainAfterASecond) {
    checkAll(false);
    c.Data[0].value.set(1);
    engine.options.intervalMs = 100;
    load("loop.log", Log({rmc("120000"), rmc("120001"), rmc("120002")}));
    c.Lop.value.set(1);
    platform.clock.advance(3 * 200);
    // The third step met the end of the file: the list shows the loop and the file restarts.
    EXPECT_EQ(c.List1.items, std::vector<std::string>{std::string(80, '>')});
    EXPECT_TRUE(engine.active);
    EXPECT_EQ(engine.index, 0);
    platform.clock.advance(2000);
    std::vector<std::string> sent = sentLines();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(sent[3], rmc("120000"));
    EXPECT_EQ(sent[4], rmc("120001"));
}

TEST_F(LogReplay, PauseRepeatsTheRecordWithZeroSpeed) {
    checkAll(true);
    std::string rmc1 =
        FrameSentence("GNRMC,120001.00,A,4807.12345,N,01131.54321,E,010.0,084.4,230394,,,A");
    std::string gga1 =
        FrameSentence("GNGGA,120001.00,4807.0000,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,");
    load("pause.log",
         Log({rmc("120000"), kVtg, kDatum, rmc1, gga1, kVtg, rmc("120002"), rmc("120003")}));
    tick();
    tick();
    size_t before = sentLines().size();
    c.Pause.value.set(1);
    tick();
    std::vector<std::string> sent = sentLines();
    std::vector<std::string> pause(sent.begin() + static_cast<long>(before), sent.end());
    std::vector<std::string> expected = {
        rmc1,
        // The GGA takes the RMC's position, field by field, whatever the field widths.
        FrameSentence("GNGGA,120001.00,4807.12345,N,01131.54321,E,1,08,0.9,545.4,M,46.9,M,,"),
        FrameSentence("GPVTG,084.4,T,,M,0,N,0,K"),
        kDatum,
    };
    EXPECT_EQ(pause, expected);
    EXPECT_EQ(engine.index, 2);
}

// Each RMC starts a record, whatever follows it in the record or comes before the first.
TEST_F(LogReplay, MoreRecordsThanASixteenBitCounter) {
    std::string file = kDatum + "\r\n";
    const int records = 40000;
    for (int i = 0; i < records; ++i)
        file += rmc(std::to_string(100000 + i % 100000)) + "\r\n" + gga("120000") + "\r\n";
    checkAll(false);
    c.Data[0].value.set(1);
    load("big.log", file);
    EXPECT_EQ(engine.count, records);
    engine.options.intervalMs = 100;
    runToEnd();
    EXPECT_EQ(sentLines().size(), static_cast<size_t>(records));
}

TEST_F(LogReplay, LogsThatCannotBeReplayedReturnToIdle) {
    load("no-fix.log", Log({kGsa, kGsa}));
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text, "No RMC or GGA-Data");
    EXPECT_EQ(platform.dialogs.messages[0].title, " Data-Error !");
    EXPECT_FALSE(engine.active);
    EXPECT_TRUE(c.File1.enabled);
    EXPECT_EQ(platform.host.quits, 0);

    // RMC only inside lines: nothing starts a record.
    load("inside.log", Log({kGsa, "xx " + rmc("120000"), "yy " + rmc("120001")}));
    EXPECT_FALSE(engine.active);
    EXPECT_FALSE(c.Timer1.enabled());
    EXPECT_FALSE(c.List1.items.empty());

    load("empty.log", "");
    ASSERT_GE(c.List1.items.size(), 2u);
    EXPECT_EQ(c.List1.items.end()[-2], "No Log-File !");
    EXPECT_EQ(c.List1.items.back(), "The file is empty.");
    EXPECT_TRUE(c.File1.enabled);
}
