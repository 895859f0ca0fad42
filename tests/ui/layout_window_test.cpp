// The window on the smallest screen it is made for: 1024 x 700, in replay and in manual mode,
// with a whole sentence readable in the message list; manual mode on the real widgets.
#include "platform/real_form.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

void expectFitsAndShowsASentence(MainWindow& window, const char* mode) {
    window.resize(1024, 700);
    QApplication::processEvents();
    EXPECT_LE(window.width(), 1024) << mode;
    EXPECT_LE(window.height(), 700) << mode;
    // A sentence may hold 80 characters before its line ending; the list's font is fixed-width.
    auto* list = window.findChild<QListWidget*>("List1");
    EXPECT_GE(list->viewport()->width(), list->fontMetrics().horizontalAdvance(QString(80, 'W')))
        << mode;
}

} // namespace

// The position controls take the file list's place in manual mode, and the window does not
// grow; the bars, the arrow keys and the units work on the real widgets.
TEST(WindowLayout, ReplayAndManualModeOnTheSmallestScreen) {
    test::ShownWindow shown(
        {{"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort())}});
    ASSERT_TRUE(shown.exposed());
    MainWindow& window = shown.window();
    expectFitsAndShowsASentence(window, "replay");
    auto* bar = window.findChild<QScrollBar*>("VSc1(0)");
    EXPECT_FALSE(bar->isVisible()) << "the position bars belong to manual mode";

    window.findChild<QAbstractButton*>("Manu")->click();
    ASSERT_EQ(shown.form().c.Manu.value.get(), 1);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(window.findChild<QWidget*>("File1")->isVisible());
    expectFitsAndShowsASentence(window, "manual");

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
