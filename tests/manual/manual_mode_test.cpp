#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "support/replay_fixture.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

constexpr int kUp = 38, kDown = 40, kLeft = 37, kShift = 1;

class Manual : public test::ReplayFixture {
  protected:
    void enterAndStart() {
        c.Manu.value.set(1);
        c.Skip1.onClick();
    }
    // The sentences of the next tick.
    std::vector<std::string> nextTick() {
        size_t before = sentLines().size();
        tick();
        std::vector<std::string> sent = sentLines();
        return {sent.begin() + static_cast<long>(before), sent.end()};
    }
    std::string latitude() {
        return std::to_string(c.VSc1[0].value.get()) + " " + std::to_string(c.VSc1[1].value.get()) +
               " " + std::to_string(c.VSc1[2].value.get()) + "." +
               std::to_string(c.VSc1[3].value.get());
    }
};

} // namespace

TEST_F(Manual, SentencesForThePositionShown) {
    enterAndStart();
    EXPECT_TRUE(platform.comm1.isOpen());
    std::vector<std::string> expected = {
        FrameSentence("GPRMC,120001,A,4805.7450,N,01138.1950,E,000.0,,061226,,E"),
        FrameSentence("GPGGA,120001,4805.7450,N,01138.1950,E,1,12,1.5,550.0,M,46.8,M,,"),
        FrameSentence("GPVTG,,T,,,0,N,0,K"), // the first tick: no course yet
    };
    EXPECT_EQ(nextTick(), expected);
    EXPECT_EQ(c.List1.items.front(), "Position:  ");

    // One minute north: the longitude moves by 0.0001' as well, for this tick only.
    form.Form_KeyDown(kUp, kShift);
    std::vector<std::string> moved = nextTick();
    EXPECT_EQ(moved[0],
              FrameSentence("GPRMC,120002,A,4806.7450,N,01138.1951,E,000.0,000.0,061226,,E"));
    EXPECT_EQ(moved[2], FrameSentence("GPVTG,000,T,,,0,N,0,K"));
    EXPECT_EQ(c.DistL.caption, "1");

    c.VSc1[2].setValue(59);
    c.VSc1[3].setValue(9);
    EXPECT_EQ(ExtractField(nextTick()[0], 3), "4806.9983");
    c.HSc1[3].setValue(8);
    EXPECT_EQ(ExtractField(nextTick()[0], 3), "4806.9984")
        << "the latitude moves with the longitude";
}

TEST_F(Manual, EnteringTakesThePositionOfTheLatestRmc) {
    s.latest.rmc = FrameSentence("GPRMC,120000,A,3353.4567,S,15112.3456,W,000.0,,061226,,E");
    c.Manu.value.set(1);
    EXPECT_EQ(latitude(), "-33 53 27.4");
    EXPECT_EQ(c.HSc1[0].value.get(), -151);
    EXPECT_EQ(c.HSc1[1].value.get(), 12);
    EXPECT_EQ(c.HSc1[2].value.get(), 20);
    EXPECT_EQ(c.HSc1[3].value.get(), 7);
    EXPECT_EQ(c.kkn.caption, ".4 S");
    EXPECT_EQ(c.kko.caption, ".7 W");
}

TEST_F(Manual, ArrowKeysStepCarryBorrowAndStopAtTheLimits) {
    c.Manu.value.set(1);
    struct Case {
        int degrees, minutes, seconds, tenths, key, modifiers;
        const char* after;
    } cases[] = {
        {48, 5, 44, 7, kUp, 4, "48 5 45.7"},
        {48, 5, 44, 7, kUp, 2, "48 5 54.7"},
        {48, 5, 44, 7, kUp, kShift, "48 6 44.7"},
        {48, 0, 0, 0, kDown, 0, "47 59 59.9"},
        {-48, 0, 0, 0, kDown, 0, "-48 0 0.1"},
        // At and across the equator: a tenth of a second north, and south.
        {0, 0, 0, 1, kUp, 0, "0 0 0.2 N"},
        {0, 0, 0, 0, kDown, 0, "0 0 0.1 S"},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.after);
        c.VSc1[0].setValue(t.degrees);
        c.VSc1[1].setValue(t.minutes);
        c.VSc1[2].setValue(t.seconds);
        c.VSc1[3].setValue(t.tenths);
        if (t.modifiers == 4)
            form.Form_KeyDown(18, 0);
        if (t.modifiers == 2)
            form.Form_KeyDown(17, 0);
        form.Form_KeyDown(t.key, t.modifiers == kShift ? kShift : 0);
        form.manual().Form_KeyUp(17, 0);
        form.manual().Form_KeyUp(18, 0);
        std::string after = t.after;
        EXPECT_EQ(latitude(), after.substr(0, after.find(" N")).substr(0, after.find(" S")));
        if (after.ends_with(" S") || after.ends_with(" N")) {
            EXPECT_EQ(c.kkn.caption.back(), after.back());
        }
    }
    // East, Left shrinks the longitude; west, it grows; across the zero meridian it is west.
    c.HSc1[0].setValue(-5);
    c.HSc1[3].setValue(0);
    form.Form_KeyDown(kLeft, 0);
    EXPECT_EQ(c.HSc1[3].value.get(), 1);
    for (int i = 0; i < 4; ++i)
        c.HSc1[i].setValue(0);
    form.Form_KeyDown(kLeft, 0);
    EXPECT_EQ(c.HSc1[0].value.get(), 0);
    EXPECT_EQ(c.HSc1[3].value.get(), 1);
    EXPECT_EQ(c.kko.caption, ".1 W");
}
