// The window as a desktop shows it: framed and titled by a real window manager on the smallest
// screen it is made for (tests/ui/with_window_manager runs these on a 1024 x 700 Xvfb screen
// under openbox, at 100 % and at 150 % scaling).
#include "platform/run_until.h"
#include "support/temp_folder.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

const char* kLog = "$GPRMC,120010,A,4807.038,N,01131.000,E,010.0,084.4,230394,,*1E\r\n"
                   "$GPRMC,120011,A,4807.040,N,01131.010,E,010.0,084.4,230394,,*1E\r\n";

} // namespace

TEST(WindowManager, TheFramedWindowFitsTheScreenAndKeepsItsParts) {
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display with a window manager";
    QFont before = QApplication::font();
    for (int points : {9, 13}) {
        SCOPED_TRACE(std::to_string(points) + " pt");
        QFont font = before;
        font.setPointSize(points);
        QApplication::setFont(font);
        test::ShownWindow shown(
            {{"Tracks/short.log", kLog},
             {"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort())}});
        ASSERT_TRUE(shown.exposed());
        QWidget& window = shown.window();
        // The window manager frames it, and the window moves into the screen once it has.
        ASSERT_TRUE(
            test::RunUntil([&] { return window.frameGeometry().height() > window.height(); }, 5000))
            << "no window manager framed the window";
        QTest::qWait(600);
        QRect screen = window.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(window.frameGeometry()))
            << "frame " << window.frameGeometry().width() << " x "
            << window.frameGeometry().height() << " on " << screen.width() << " x "
            << screen.height();

        auto* messages = shown.find<QListWidget>("List1");
        EXPECT_GE(messages->height(), 6 * messages->fontMetrics().lineSpacing())
            << "six lines of messages";

        auto* instruments = shown.find<QGroupBox>("Instruments");
        QSize idle = instruments->size();
        shown.form().files().ChooseFile(shown.program.file("Tracks/short.log"));
        shown.window().refresh();
        ASSERT_TRUE(test::RunUntil([&] { return !shown.form().c.SpeedL.caption.empty(); }, 5000))
            << "the replay fills the figures";
        QTest::qWait(100);
        EXPECT_EQ(instruments->size(), idle) << "the instruments keep their size in a replay";

        // Made small by the user, smaller than any of its parts wants, it keeps that size
        // whatever they show: a pause, a stop, manual mode and back.
        window.resize(400, 300);
        ASSERT_TRUE(test::RunUntil([&] { return window.size() == QSize(400, 300); }, 3000));
        auto keptAfter = [&](CheckBox& box, int value) {
            box.value.set(value);
            shown.window().refresh();
            QTest::qWait(300);
            EXPECT_EQ(window.size(), QSize(400, 300)) << box.name << " " << value;
        };
        keptAfter(shown.form().c.Pause, 1);
        keptAfter(shown.form().c.Pause, 0);
        shown.find<QAbstractButton>("StopA")->click();
        keptAfter(shown.form().c.Manu, 1);
        keptAfter(shown.form().c.Manu, 0);
    }
    QApplication::setFont(before);
}
