#include "form/controls.h"

#include <gtest/gtest.h>
#include <set>

using namespace korvel;

// A change made by code raises the control's event exactly when the value changes.
TEST(Controls, ChangeByCodeRaisesTheEventOnce) {
    Controls c;
    int barChanges = 0, boxClicks = 0, portClicks = 0, folderChanges = 0;
    c.VSc2.value.event = [&] { ++barChanges; };
    c.Data[3].value.event = [&] { ++boxClicks; };
    c.PortC.listIndex.event = [&] { ++portClicks; };
    c.Dir1.path.event = [&] { ++folderChanges; };

    c.VSc2.setValue(550); // the design value: no change
    c.VSc2.setValue(600);
    c.VSc2.setValue(600);
    c.VSc2.setValue(99999); // beyond the bar's end: kept at the end
    EXPECT_EQ(barChanges, 2);
    EXPECT_EQ(c.VSc2.value.get(), 2000);
    c.VSc2.setValue(-5);
    EXPECT_EQ(c.VSc2.value.get(), 0);

    c.Data[3].value.set(1);
    c.Data[3].value.set(1);
    c.Data[3].value.set(0);
    EXPECT_EQ(boxClicks, 2);

    c.PortC.addItem("COM1");
    c.PortC.addItem("TCP");
    c.PortC.listIndex.set(1);
    EXPECT_EQ(c.PortC.text(), "TCP");
    c.PortC.clear(); // emptying the list raises nothing
    EXPECT_EQ(c.PortC.text(), "");
    EXPECT_EQ(portClicks, 1);

    c.Dir1.path.set("/tmp");
    c.Dir1.path.set("/tmp");
    EXPECT_EQ(folderChanges, 1);
}

TEST(Controls, OptionGroupKeepsOneSelectedAndRaisesOnlyItsClick) {
    Controls c;
    std::vector<int> clicked;
    for (int i = 0; i < 8; ++i)
        c.Abstand[i].value.event = [&, i] { clicked.push_back(i); };
    EXPECT_TRUE(c.Abstand[4].value.get()); // "1 s" as the form starts
    SelectOption(c.Abstand, 1);
    SelectOption(c.Abstand, 6);
    EXPECT_EQ(clicked, (std::vector<int>{1, 6}));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(c.Abstand[i].value.get(), i == 6) << i;
}

TEST(Controls, EveryControlHasItsOwnName) {
    Controls c;
    std::set<std::string> names;
    int count = 0;
    c.forEach([&](Control& control) {
        EXPECT_FALSE(control.name.empty());
        names.insert(control.name);
        ++count;
    });
    EXPECT_EQ(names.size(), static_cast<size_t>(count));
}
