#include "replay/sentence.h"
#include "support/replay_fixture.h"

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

TEST_F(LogReplay, SendsEveryRecordedLineUnchangedInFileOrder) {
    std::vector<std::string> sentences = {
        rmc("120000"),
        gga("120000"),
        kGsa,
        FrameSentence("GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45"),
        kVtg,
        FrameSentence("GPRMB,A,0.66,L,003,004,4917.24,N,12309.57,W,001.3,052.5,000.5,V"),
        FrameSentence("GPGLL,4916.45,N,12311.12,W,225444,A"),
        kDatum,
        FrameSentence("GPTXT,01,01,02,ANTSTATUS=OK"),
        rmc("120001"),
        gga("120001"),
        FrameSentence("GPGSV,1,1,00"),
        rmc("120002"),
    };
    std::vector<std::string> file = {"# a header line that is not a sentence"};
    file.insert(file.end(), sentences.begin(), sentences.end());
    checkAll(true);
    load("tour.log", Log(file));
    // The count starts at 1 and adds the RMCs after the first sentence, and the GGAs ahead of
    // the first RMC it meets.
    EXPECT_EQ(s.recordCount, 4);
    EXPECT_EQ(s.replayActive, 1);
    EXPECT_TRUE(platform.comm1.isOpen());
    EXPECT_FALSE(c.PortC.enabled);
    runToEnd();

    EXPECT_EQ(platform.comm1.written, Log(sentences));
    // Back to idle.
    EXPECT_FALSE(c.Timer1.enabled());
    EXPECT_FALSE(c.StopA.visible);
    EXPECT_TRUE(c.PortC.enabled);
    EXPECT_TRUE(c.File1.enabled);
    EXPECT_FALSE(platform.comm1.isOpen());
    EXPECT_EQ(c.Skip1.toolTip, "Start");
}

TEST_F(LogReplay, PacingFollowsTheIntervalLessTheStepsDuration) {
    std::vector<std::string> file;
    for (int i = 0; i < 10; ++i)
        file.push_back(rmc("1200" + std::to_string(10 + i)));
    load("pace.log", Log(file));
    ASSERT_EQ(c.Timer1.interval(), 100);
    platform.clock.advance(100); // the first tick: no step before it
    EXPECT_EQ(s.stepDurationMs, 100);
    EXPECT_EQ(c.Timer1.interval(), 1000);
    // One second between records: the previous tick's 100 ms of sleep come off the interval.
    platform.clock.advance(1100);
    EXPECT_EQ(c.Timer1.interval(), 900);

    s.replayInterval = 100; // "cont": no compensation
    platform.clock.advance(1000);
    EXPECT_EQ(c.Timer1.interval(), 100);

    c.Pause.value.set(1);
    platform.clock.advance(100);
    EXPECT_EQ(c.Timer1.interval(), 2000);
    EXPECT_EQ(c.SpeedL.caption, "---");
    ASSERT_FALSE(c.List1.items.empty());
    EXPECT_EQ(c.List1.items.front(), "Pause:");

    c.Pause.value.set(0);
    c.Last.value.set(1);
    s.replayInterval = 1000;
    platform.clock.advance(2000);
    EXPECT_EQ(c.Timer1.interval(), 6000);
}

TEST_F(LogReplay, RecordGaugeToolTipAndRecordStep) {
    std::vector<std::string> file;
    for (int i = 0; i < 120; ++i)
        file.push_back(rmc("12" +
                           std::string(i < 10    ? "000"
                                       : i < 100 ? "00"
                                                 : "0") +
                           std::to_string(i)));
    checkAll(false);
    c.Data[0].value.set(1);
    load("long.log", Log(file));
    ASSERT_EQ(s.recordCount, 120);
    EXPECT_EQ(c.Gauge2.max, 120);
    for (int ticks = 1; ticks <= 5; ++ticks)
        tick();
    EXPECT_EQ(c.Gauge2.toolTip, "Records: 5/ 120");
    EXPECT_EQ(c.Gauge2.value, 5);

    s.recordStep = 4; // "x 4": one record sent, three passed over
    size_t before = sentLines().size();
    long index = s.recordIndex;
    tick();
    EXPECT_EQ(s.recordIndex, index + 4);
    EXPECT_EQ(sentLines().size(), before + 1);
}

TEST_F(LogReplay, LoopStartsAgainAfterASecond) {
    checkAll(false);
    c.Data[0].value.set(1);
    s.replayInterval = 100;
    load("loop.log", Log({rmc("120000"), rmc("120001"), rmc("120002")}));
    c.Lop.value.set(1);
    platform.clock.advance(100 + 2 * 200);
    // The third tick met the end of the file: the list shows the loop and the file restarts.
    EXPECT_EQ(c.List1.items, std::vector<std::string>{std::string(80, '>')});
    EXPECT_EQ(s.replayActive, 1);
    EXPECT_EQ(s.recordIndex, 0);
    platform.clock.advance(2000);
    std::vector<std::string> sent = sentLines();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(sent[3], rmc("120000"));
    EXPECT_EQ(sent[4], rmc("120001"));
}

TEST_F(LogReplay, AutoSkipPassesOverAStandingReceiver) {
    load("stand.log", Log({rmc("120000", "010.0"), gga("120000"), rmc("120001", "000.1"),
                           gga("120001"), rmc("120002", "000.0"), gga("120002"),
                           rmc("120003", "012.0"), gga("120003"), rmc("120004", "011.0")}));
    s.autoSkipOn = 1;
    c.Data[2].value.set(0);
    runToEnd();
    std::vector<std::string> expected = {rmc("120000", "010.0"), gga("120000"),
                                         rmc("120003", "012.0"), gga("120003"),
                                         rmc("120004", "011.0")};
    EXPECT_EQ(sentLines(), expected);
}

TEST_F(LogReplay, StatisticsInImperialUnits) {
    s.metricUnits = 0;
    // 19.44 knots are 36 km/h, 22 MPH; 100 m are 328 ft.
    load("units.log", Log({rmc("120000", "010.0"), rmc("120001", "010.0"), gga("120001", "100.0"),
                           rmc("120002", "019.44", "4808.038"), rmc("120003")}));
    tick();
    tick();
    EXPECT_EQ(c.SpeedL.caption, "22");
    EXPECT_EQ(c.MaxL.caption, "22");
    EXPECT_EQ(c.NNL.caption, "328");
    EXPECT_EQ(c.nnM.caption, "100 m NN");
    // One minute of latitude north of the start: 1855 m, in whole hectometres 1.1 miles,
    // and a trip of 1.2 miles.
    EXPECT_EQ(c.DistL.caption, "1.1");
    EXPECT_EQ(c.TripL.caption, "1.2");
    EXPECT_EQ(c.Gauge1.value, 174); // course 84.4 + 90
    EXPECT_EQ(c.Zeit.caption, "12:00:02");
    EXPECT_EQ(c.Datum.caption, "1994-Mar-23");
}

TEST_F(LogReplay, BuiltVtgAndDatumForALogWithoutThem) {
    checkAll(false);
    c.Data[0].value.set(1);
    c.Data[2].value.set(1);
    c.Data[6].value.set(1);
    load("plain.log", Log({rmc("120000", "010.0"), rmc("120001", "019.44"), rmc("120002")}));
    runToEnd();
    std::vector<std::string> expected = {
        rmc("120000", "010.0"),
        FrameSentence("GPVTG,,T,,M,,N,,K"), // nothing is known before the first record
        kDatum,
        rmc("120001", "019.44"),
        FrameSentence("GPVTG,084.4,T,,M,019.44,N,36,K"),
        kDatum,
        rmc("120002"),
    };
    EXPECT_EQ(sentLines(), expected);
}

TEST_F(LogReplay, RecordedDatumEndsTheBuiltOne) {
    checkAll(true);
    load("datum.log", Log({rmc("120000"), kVtg, rmc("120001"), kDatum, rmc("120002")}));
    runToEnd();
    std::vector<std::string> expected = {rmc("120000"), kVtg,   kDatum,
                                         rmc("120001"), kDatum, rmc("120002")};
    EXPECT_EQ(sentLines(), expected);
}

TEST_F(LogReplay, SameTimeAndPositionOption) {
    checkAll(true);
    c.Equ.value.set(1);
    std::string rmc0 =
        FrameSentence("GPRMC,120000.00,A,4807.0000,N,01131.0000,E,000.0,000.0,230394,,");
    std::string gga1 =
        FrameSentence("GPGGA,120001.00,4807.0100,N,01131.0100,E,1,08,0.9,545.4,M,46.9,M,,");
    std::string gll1 = FrameSentence("GPGLL,4807.0100,N,01131.0100,E,120001.00,A");
    // Binary bytes of the receiver before the RMC are not taken into the rewritten sentences.
    load("equ.log", Log({rmc0, kVtg, kDatum, "\x02\xb5" + rmc0, gga1, gll1, rmc0}));
    runToEnd();
    std::vector<std::string> sent = sentLines();
    ASSERT_EQ(sent.size(), 7u);
    // The first record has no RMC before it to take from.
    EXPECT_EQ(sent[4],
              FrameSentence("GPGGA,120000.00,4807.0000,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,"));
    EXPECT_EQ(sent[5], FrameSentence("GPGLL,4807.0000,N,01131.0000,E,120001.00,A"));
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
    EXPECT_EQ(s.recordIndex, 2);
}

TEST_F(LogReplay, ProprietaryPhsmiLinesStopTheDisplays) {
    checkAll(true);
    std::string phsmi = "$PHSMI,1,2,3*00";
    load("phsmi.log",
         Log({rmc("120000"), kVtg, kDatum, phsmi, rmc("120001"), kVtg, rmc("120002")}));
    runToEnd();
    std::vector<std::string> expected = {rmc("120000"), kVtg, kDatum, phsmi,
                                         rmc("120001"), kVtg, phsmi,  rmc("120002")};
    EXPECT_EQ(sentLines(), expected);
    EXPECT_EQ(c.SpeedL.caption, "");
}

TEST_F(LogReplay, OtherTalkersAndFieldWidths) {
    checkAll(true);
    auto gn = [](const char* time, const char* lat) {
        return FrameSentence(std::string("GNRMC,") + time + ",A," + lat +
                             ",N,12118.85478,W,0.117,,180315,,,A");
    };
    std::string gsv = FrameSentence("GLGSV,1,1,01,65,40,083,46");
    load("gn.log",
         Log({gn("171926.00", "4404.14063"), FrameSentence("GNVTG,,T,,M,0.117,N,0.217,K,A"), gsv,
              kDatum, gn("171927.00", "4404.14063"), gn("171928.00", "4405.14063"),
              gn("171929.00", "4405.14063")}));
    EXPECT_EQ(s.hasRmc, 1);
    tick();
    tick();
    // One minute of latitude with five decimals from the start: 1855 m.
    EXPECT_EQ(c.DistL.caption, "1.8");
    EXPECT_EQ(c.TripL.caption, "1.9");
    EXPECT_EQ(c.Zeit.caption, "17:19:28");
    runToEnd();
    std::vector<std::string> sent = sentLines();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[2], gsv);
}

TEST_F(LogReplay, LineEndingsJunkAndLongLinesReplay) {
    checkAll(true);
    std::string content = rmc("120000") + "\n" + kVtg + "\r" + kDatum + "\r\n\r\n" +
                          std::string("\x01\xff\xfe junk \x80", 11) + "\n" +
                          std::string(200000, 'x') + "\n" + "\x02\xb5" + rmc("120001") + "\n" +
                          rmc("120002");
    load("mixed.log", content);
    runToEnd();
    // What comes before a sentence on its line is no part of it.
    std::vector<std::string> expected = {rmc("120000"), kVtg, kDatum, rmc("120001"), rmc("120002")};
    EXPECT_EQ(sentLines(), expected);
}

TEST_F(LogReplay, MoreRecordsThanASixteenBitCounter) {
    std::string file;
    const int records = 40000;
    for (int i = 0; i < records; ++i)
        file += rmc(std::to_string(100000 + i % 100000)) + "\r\n";
    checkAll(false);
    c.Data[0].value.set(1);
    load("big.log", file);
    EXPECT_EQ(s.recordCount, records);
    s.replayInterval = 100;
    runToEnd();
    EXPECT_EQ(sentLines().size(), static_cast<size_t>(records));
}

TEST_F(LogReplay, AFreeTextFirstLineIsNoTrackHeader) {
    checkAll(false);
    c.Data[0].value.set(1);
    load("tour.log", Log({"Tour of the lakes, recorded by the logger", rmc("120000")}));
    EXPECT_EQ(s.fileKind, 0);
    runToEnd();
    EXPECT_EQ(sentLines(), std::vector<std::string>{rmc("120000")});
}

TEST_F(LogReplay, ALogOfOneRecordReplays) {
    checkAll(false);
    c.Data[0].value.set(1);
    load("one.log", Log({rmc("120000")}));
    runToEnd();
    EXPECT_EQ(sentLines(), std::vector<std::string>{rmc("120000")});
}

TEST_F(LogReplay, LogsThatCannotBeReplayedReturnToIdle) {
    load("no-fix.log", Log({kGsa, kGsa}));
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text, "No RMC or GGA-Data");
    EXPECT_EQ(platform.dialogs.messages[0].title, " Data-Error !");
    EXPECT_EQ(s.replayActive, 0);
    EXPECT_TRUE(c.File1.enabled);
    EXPECT_EQ(platform.host.quits, 0);

    // RMC only inside lines: nothing starts a record.
    load("inside.log", Log({kGsa, "xx " + rmc("120000"), "yy " + rmc("120001")}));
    EXPECT_EQ(s.replayActive, 0);
    EXPECT_FALSE(c.Timer1.enabled());
    EXPECT_FALSE(c.List1.items.empty());

    load("empty.log", "");
    EXPECT_EQ(c.List1.items.back(), "No Log-File !");
    EXPECT_TRUE(c.File1.enabled);
}
