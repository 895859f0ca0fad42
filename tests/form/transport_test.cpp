// The transport of a log replay: Back, Skip, the record gauge and seek, the pace the interval
// options set, and minimizing. Each move is checked by the record the next tick sends.
#include "replay/sentence.h"
#include "support/replay_fixture.h"
#include "text/conversions.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

class Transport : public test::ReplayFixture {
  protected:
    // Loads a log of `records` records, a TXT line after each; only RMC sentences sent.
    void loadRecords(int records) {
        checkAll(false);
        c.Data[0].value.set(1);
        std::vector<std::string> lines;
        for (int i = 1; i <= records; ++i) {
            lines.push_back(test::Rmc(i));
            lines.push_back(FrameSentence("GPTXT,01,01,02,record " + std::to_string(i)));
        }
        load("transport.log", test::Log(lines));
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            tick();
    }
    // The record the next tick sends.
    std::string next() {
        size_t before = sentLines().size();
        tick();
        return sentLines().at(before);
    }
};

} // namespace

TEST_F(Transport, MovesLandOnTheRecordTheyName) {
    loadRecords(1000);
    ticks(120);
    c.Back.onClick();
    EXPECT_EQ(next(), test::Rmc(70)) << "fifty back";
    c.Skip1.onClick();
    EXPECT_EQ(next(), test::Rmc(81)) << "ten on";
    form.SeekRecord(300);
    // The text of the latest TXT line passed comes with the record.
    EXPECT_EQ(s.latest.text, "record 299");
    EXPECT_EQ(next(), test::Rmc(300));
    form.RESTART_Click();
    EXPECT_EQ(next(), test::Rmc(1));
    c.Gauge2.width = 400;
    c.Gauge2.onMouseDown(400); // record 1020: past the end, the last record is sent
    EXPECT_EQ(next(), test::Rmc(1000));
    EXPECT_FALSE(engine.active) << "the file ends with it";
    c.Gauge2.onMouseDown(100); // no replay: nothing happens
    EXPECT_FALSE(engine.active);
}

TEST_F(Transport, SkipsNearTheEndStopOrLoop) {
    loadRecords(120);
    ticks(3);
    c.Skip1.onClick();
    EXPECT_EQ(engine.index, 13);
    c.Skip1.onClick();
    c.Skip2.onClick(); // fewer than 100 records left
    EXPECT_FALSE(engine.active);

    loadRecords(120);
    c.Lop.value.set(1);
    c.Skip2.onClick();
    c.Skip2.onClick();
    EXPECT_TRUE(engine.active);
    EXPECT_EQ(c.List1.items, std::vector<std::string>{std::string(80, '>')});
    std::int64_t wrapped = platform.clock.monotonicMs();
    EXPECT_EQ(next(), test::Rmc(1));
    EXPECT_GE(platform.clock.monotonicMs() - wrapped, 1000) << "a second after the end";
}

TEST_F(Transport, IntervalOptions) {
    SelectOption(c.Abstand, 1); // "x 4" while idle: stored only
    EXPECT_FALSE(c.Timer1.enabled());
    c.Last.value.set(1);
    c.Last.value.set(0); // unchecking while idle does not start the timer
    EXPECT_FALSE(c.Timer1.enabled());

    loadRecords(50);
    tick();
    size_t before = sentLines().size();
    long index = engine.index;
    tick(); // "x 4": one record sent, three passed over
    EXPECT_EQ(engine.index, index + 4);
    EXPECT_EQ(sentLines().size(), before + 1);
    SelectOption(c.Abstand, 6); // "4 s" during a replay: 100 ms later the new pace
    EXPECT_EQ(c.Timer1.interval(), 100);
    tick();
    EXPECT_EQ(c.Timer1.interval(), 4000 - 100);

    c.StopA.onClick();
    c.Manu.value.set(1);
    c.Timer1.setInterval(1000);
    const int manual[] = {1000, 1000, 1000, 100, 1000, 2000, 2000, 2000};
    for (int i = 0; i < 8; ++i) {
        SelectOption(c.Abstand, static_cast<size_t>(i));
        EXPECT_EQ(c.Timer1.interval(), manual[i]) << c.Abstand[i].caption;
    }
}

// With the minimize box checked the window is tucked away a second after the run starts, while
// the run goes on; a run stopped within that second leaves it open.
TEST_F(Transport, MinimizeBoxTucksTheWindowAwayASecondAfterTheStart) {
    c.MinC.value.set(1);
    loadRecords(20);
    platform.clock.advance(999);
    EXPECT_EQ(platform.host.minimized, 0) << "the start does not wait for it";
    platform.clock.advance(1);
    EXPECT_EQ(platform.host.minimized, 1);
    EXPECT_TRUE(c.MiniA.visible);
    EXPECT_TRUE(engine.active);

    c.StopA.onClick();
    loadRecords(20);
    platform.clock.advance(500);
    c.StopA.onClick();
    platform.clock.advance(1000);
    EXPECT_EQ(platform.host.minimized, 1) << "stopped within the second";
}
