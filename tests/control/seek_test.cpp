#include "replay/sentence.h"
#include "support/replay_fixture.h"
#include "text/conversions.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

class Seek : public test::ReplayFixture {
  protected:
    void SetUp() override {
        checkAll(false);
        c.Data[0].value.set(1);
        std::vector<std::string> lines;
        for (int i = 1; i <= 150; ++i) {
            lines.push_back(test::Rmc(i));
            lines.push_back(FrameSentence("GPTXT,01,01,02,record " + std::to_string(i)));
        }
        load("seek.log", test::Log(lines));
    }
    // The RMC that the next tick sends first.
    std::string nextSent() {
        size_t before = sentLines().size();
        tick();
        return sentLines().at(before);
    }
};

} // namespace

TEST_F(Seek, ToARecordAndBackToTheStart) {
    for (int i = 0; i < 3; ++i)
        tick();
    s.startLat = 1;
    form.SeekRecord(70);
    EXPECT_EQ(s.recordIndex, 70);
    // The text of the latest TXT line passed comes with the record.
    EXPECT_EQ(s.logText, Mid(FrameSentence("GPTXT,01,01,02,record 69"), 8));
    EXPECT_EQ(nextSent(), test::Rmc(70));
    EXPECT_EQ(s.repositioning, 0);
    EXPECT_EQ(s.seekQuiet, 0);

    form.SeekRecord(-20); // near the start the seek lands on the first record
    EXPECT_EQ(s.recordIndex, 0);
    EXPECT_EQ(nextSent(), test::Rmc(1));

    form.RESTART_Click();
    EXPECT_EQ(s.recordIndex, 0);
    EXPECT_TRUE(std::isnan(s.startLat)) << "the distance counts from the first record again";
    EXPECT_EQ(nextSent(), test::Rmc(1));
    EXPECT_EQ(s.replayActive, 1);
}

TEST_F(Seek, BeyondTheLastRecordEndsTheReplay) {
    form.SeekRecord(1020);
    EXPECT_EQ(s.replayActive, 0);
    EXPECT_FALSE(c.Timer1.enabled());
    EXPECT_TRUE(c.File1.enabled);
}
