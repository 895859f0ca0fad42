// The window on the smallest screen it is made for: 1024 x 700, in replay and in manual mode,
// with a whole sentence readable in the message list.
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
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

TEST(WindowLayout, FitsTheSmallestScreenInReplayAndManualMode) {
    test::ShownWindow shown;
    ASSERT_TRUE(shown.exposed());
    MainWindow& window = shown.window();
    expectFitsAndShowsASentence(window, "replay");
    EXPECT_FALSE(window.findChild<QWidget*>("VSc1(0)")->isVisible());

    // The position controls take the file list's place, and the window does not grow.
    window.findChild<QAbstractButton*>("Manu")->click();
    ASSERT_EQ(shown.form().c.Manu.value.get(), 1);
    EXPECT_LE(window.height(), 700);
    expectFitsAndShowsASentence(window, "manual");
    EXPECT_TRUE(window.findChild<QWidget*>("VSc1(0)")->isVisible());
    EXPECT_FALSE(window.findChild<QWidget*>("File1")->isVisible());
}
