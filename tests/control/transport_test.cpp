#include "support/replay_fixture.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

class Transport : public test::ReplayFixture {
  protected:
    // Loads a log of `records` records, only RMC sentences sent.
    void loadRecords(int records) {
        checkAll(false);
        c.Data[0].value.set(1);
        std::string log;
        for (int i = 1; i <= records; ++i)
            log += test::Rmc(i) + "\r\n";
        load("transport.log", log);
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

TEST_F(Transport, BackFiftyRecords) {
    loadRecords(200);
    ticks(30);
    c.Back.onClick();
    EXPECT_EQ(next(), test::Rmc(1)) << "near the start: the first record";
    ticks(119);
    c.Back.onClick();
    EXPECT_EQ(s.recordIndex, 70);
    EXPECT_EQ(next(), test::Rmc(70));
}

TEST_F(Transport, RecordGaugeClick) {
    loadRecords(1000);
    ticks(5);
    c.Gauge2.width = 400;
    c.Gauge2.onMouseDown(0);
    EXPECT_EQ(next(), test::Rmc(1));
    c.Gauge2.onMouseDown(200); // the middle: Int(1000 / 400 * 200 * 1.02) = 510
    EXPECT_EQ(s.recordIndex, 510);
    c.Gauge2.onMouseDown(400); // the right edge asks for record 1020: past the end
    EXPECT_EQ(s.replayActive, 0);
    EXPECT_FALSE(c.StopA.visible);
    c.Gauge2.onMouseDown(100); // no replay: nothing happens
    EXPECT_EQ(s.replayActive, 0);
}

TEST_F(Transport, SkipsNearTheEndStopOrLoop) {
    loadRecords(120);
    ticks(3);
    c.Skip1.onClick();
    EXPECT_EQ(s.recordIndex, 13);
    c.Skip1.onClick();
    c.Skip2.onClick(); // fewer than 100 records left
    EXPECT_EQ(s.replayActive, 0);

    loadRecords(120);
    c.Lop.value.set(1);
    EXPECT_TRUE(c.LoopL.visible);
    c.Skip2.onClick();
    c.Skip2.onClick();
    EXPECT_EQ(s.replayActive, 1);
    EXPECT_EQ(c.List1.items, std::vector<std::string>{std::string(80, '>')});
    EXPECT_EQ(next(), test::Rmc(1));
}

TEST_F(Transport, PauseAndSingleStep) {
    loadRecords(10);
    ticks(2);
    c.Pause.value.set(1);
    EXPECT_EQ(c.Skip1.toolTip, "Skip 1");
    EXPECT_FALSE(c.RESTART.enabled || c.Back.enabled || c.Skip2.enabled);
    EXPECT_TRUE(c.PauseL.visible);
    ticks(3);
    EXPECT_EQ(s.recordIndex, 2) << "a pause repeats, it does not advance";
    c.Skip1.onClick();
    EXPECT_EQ(next(), test::Rmc(3)) << "one step";
    tick();
    EXPECT_EQ(s.recordIndex, 3);
    c.Pause.value.set(0);
    EXPECT_EQ(c.Skip1.toolTip, "Skip 10");
    EXPECT_TRUE(c.RESTART.enabled && c.Back.enabled && c.Skip2.enabled);
}

TEST_F(Transport, IntervalOptions) {
    SelectOption(c.Abstand, 1); // "x 4" while idle: stored only
    EXPECT_EQ(s.recordStep, 4);
    EXPECT_FALSE(c.Timer1.enabled());
    c.Last.value.set(1);
    EXPECT_FALSE(c.Abstand[0].enabled);
    c.Last.value.set(0); // unchecking while idle does not start the timer
    EXPECT_FALSE(c.Timer1.enabled());
    EXPECT_TRUE(c.Abstand[0].enabled);

    loadRecords(50);
    tick();
    SelectOption(c.Abstand, 6); // "4 s" during a replay: 100 ms later the new pace
    EXPECT_TRUE(c.Timer1.enabled());
    EXPECT_EQ(c.Timer1.interval(), 100);
    EXPECT_EQ(s.recordStep, 1);
    EXPECT_EQ(s.replayInterval, 4000);
    tick();
    EXPECT_EQ(c.Timer1.interval(), 4000 - 100);

    c.StopA.onClick();
    EXPECT_EQ(s.replayActive, 0);
    c.Manu.value.set(1);
    c.Timer1.setInterval(1000);
    const int manual[] = {1000, 1000, 1000, 100, 1000, 2000, 2000, 2000};
    for (int i = 0; i < 8; ++i) {
        SelectOption(c.Abstand, static_cast<size_t>(i));
        EXPECT_EQ(c.Timer1.interval(), manual[i]) << c.Abstand[i].caption;
    }
}

TEST_F(Transport, SentencePresetsAndAutoSkipToggle) {
    c.Command1.onClick();
    for (CheckBox& box : c.Data)
        EXPECT_EQ(box.value.get(), 1);
    c.RMCRMB.onClick();
    for (size_t i = 0; i < c.Data.size(); ++i)
        EXPECT_EQ(c.Data[i].value.get(), i < 2 ? 1 : 0) << i;
    EXPECT_EQ(c.focus, "ENDE");

    c.AutoSkip.onMouseDown();
    c.AutoSkip.value.set(1);
    c.AutoSkip.onMouseUp();
    EXPECT_EQ(s.autoSkipOn, 1);
    EXPECT_TRUE(c.AutoL.visible);
    EXPECT_EQ(c.AutoSkip.value.get(), 1) << "a toggle for logs";
}

TEST_F(Transport, StartWithNothingToLoadAndMinimize) {
    c.File1.listIndex = -1;
    c.Skip1.onClick();
    EXPECT_EQ(s.replayActive, 0);
    EXPECT_EQ(c.List1.items, std::vector<std::string>{"Choose a file in the list first."});
    EXPECT_TRUE(platform.dialogs.messages.empty());

    c.MinC.value.set(1); // idle: only remembered
    EXPECT_EQ(platform.host.minimized, 0);
    loadRecords(5);
    EXPECT_EQ(platform.host.minimized, 1) << "a replay starts minimized when asked";
    EXPECT_TRUE(c.MiniA.visible);
    c.MiniA.onClick();
    EXPECT_EQ(platform.host.minimized, 2);
}
