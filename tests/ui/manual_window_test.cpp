// Manual mode in the real window: the check box, the position bars, the arrow keys and the
// units.
#include "platform/real_form.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;

TEST(ManualWindow, BarsAndKeysMoveThePosition) {
    test::ShownWindow shown(
        {{"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort())}});
    ASSERT_TRUE(shown.exposed());
    MainWindow& window = shown.window();
    auto* bar = window.findChild<QScrollBar*>("VSc1(0)");
    EXPECT_FALSE(bar->isVisible()) << "the position bars belong to manual mode";

    window.findChild<QAbstractButton*>("Manu")->click();
    ASSERT_EQ(shown.form().c.Manu.value.get(), 1);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(window.findChild<QWidget*>("File1")->isVisible());

    // The latitude bar has +89 at its top: one step down is one degree less.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(shown.form().c.VSc1[0].value.get(), 47);
    EXPECT_EQ(window.findChild<QLabel*>("ggn")->text(), QString::fromUtf8("47 \xc2\xb0"));

    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(shown.form().c.VSc1[1].value.get(), 6) << "one minute north, and not a bar step too";
    EXPECT_EQ(shown.form().c.VSc1[0].value.get(), 47);
    EXPECT_EQ(window.findChild<QLabel*>("mmn")->text(), "06 '");

    window.findChild<QAbstractButton*>("Skip1")->click();
    EXPECT_TRUE(shown.form().c.Timer1.enabled());
    EXPECT_FALSE(window.findChild<QWidget*>("Skip1")->isEnabled());
    window.findChild<QAbstractButton*>("StopA")->click();
    EXPECT_FALSE(shown.form().c.Timer1.enabled());

    // A click on a unit switches every unit, and a second one switches them back.
    auto* speedUnit = window.findChild<QLabel*>("Label3");
    QTest::mouseClick(speedUnit, Qt::LeftButton);
    EXPECT_EQ(speedUnit->text(), "MPH");
    EXPECT_EQ(window.findChild<QLabel*>("Label9")->text(), "ft NN");
    QTest::mouseClick(window.findChild<QLabel*>("Label6"), Qt::LeftButton);
    EXPECT_EQ(speedUnit->text(), "km/h");
}
