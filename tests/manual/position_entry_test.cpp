#include "support/replay_fixture.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {
class PositionEntry : public test::ReplayFixture {};
} // namespace

TEST_F(PositionEntry, BarsWriteTheLabels) {
    c.VSc1[0].setValue(-1);
    EXPECT_EQ(c.ggn.caption, "01 \xc2\xb0");
    EXPECT_EQ(c.kkn.caption, ".7 S");
    c.VSc1[0].setValue(0);
    EXPECT_EQ(c.kkn.caption, ".7 N") << "0 degrees are always north";
    c.VSc1[3].setValue(0);
    EXPECT_EQ(c.kkn.caption, ".0 N");
    c.HSc1[0].setValue(-5);
    EXPECT_EQ(c.ggo.caption, "005 \xc2\xb0");
    EXPECT_EQ(c.kko.caption, ".7 W");
    EXPECT_EQ(s.positionChangeFlags, 3);
    c.VSc2.setValue(100);
    EXPECT_EQ(c.nnM.caption, "100 m NN");
    EXPECT_EQ(c.nnM.toolTip, "328 ft");
    c.VSc3.setValue(200);
    EXPECT_EQ(c.kmhM.toolTip, "124 mi");
    c.VSc4.setValue(0);
    EXPECT_EQ(c.AutoM.caption, "-");
    EXPECT_EQ(c.AutoM.toolTip, "Auto-Point off");
    c.VSc4.setValue(10);
    EXPECT_EQ(c.AutoM.caption, "-") << "10 has no step and leaves the caption";
}

TEST_F(PositionEntry, UnitsTimeReferenceAndMaximum) {
    c.VSc4.setValue(4); // "100 m"
    c.MaxL.caption = "88";
    s.maxSpeed = 88;
    c.Label3.onClick();
    EXPECT_EQ(s.metricUnits, 0);
    EXPECT_EQ(c.Label3.caption, "MPH");
    EXPECT_EQ(c.Label9.caption, "ft NN");
    EXPECT_EQ(c.AutoM.toolTip, "Auto-Point 300 ft");
    EXPECT_EQ(c.MaxL.caption, "") << "switching units clears the statistics";
    c.Label6.onClick();
    EXPECT_EQ(s.metricUnits, 1);
    EXPECT_EQ(c.Label6.caption, "km ->");
    EXPECT_EQ(c.AutoM.toolTip, "Auto-Point");

    c.Label7.onClick();
    EXPECT_EQ(s.timeReference, 1);
    EXPECT_EQ(c.Label7.backColor, kGreen);
    EXPECT_EQ(c.Label2.backColor, kDarkGreen);
    c.Label2.onClick();
    EXPECT_EQ(s.timeReference, 0);
    EXPECT_EQ(c.Label2.backColor, kGreen);

    s.maxSpeed = 50;
    c.MaxL.caption = "50";
    c.MaxL.onClick();
    EXPECT_EQ(s.maxSpeed, 0);
    EXPECT_EQ(c.MaxL.caption, "");
}
