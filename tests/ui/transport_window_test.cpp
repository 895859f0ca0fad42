// The transport row clicked in the real window: a replay started from the file list and read
// by a TCP client, paused, stepped, moved by a click on the record gauge and stopped; then
// started and stopped by the keyboard alone, and minimized while it runs.
#include "platform/run_until.h"
#include "replay/sentence.h"
#include "support/temp_folder.h"
#include "ui/compass_widget.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

// A log of 600 records in the file list, replayed to a TCP server on a free port: no device,
// no dialog that would wait for the user.
class TransportWindow : public testing::Test {
  protected:
    static std::string log() {
        std::string log;
        for (int i = 0; i < 600; ++i)
            log += FrameSentence("GPRMC,1200" + std::to_string(10 + i % 50) +
                                 ",A,4807.038,N,01131.000,E,010.0,084.4,230394,,") +
                   "\r\n";
        return log;
    }
    void SetUp() override { ASSERT_TRUE(app.exposed()); }
    QWidget* find(const char* name) { return app.find(name); }

    int port = test::FreePort();
    test::ShownWindow app{
        {{"Tracks/clicked.log", log()},
         {"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(port)}}};
};

} // namespace

TEST_F(TransportWindow, ClicksAndKeysOnTheRealWidgetsDriveTheReplay) {
    MainWindow& window = app.window();

    auto* files = window.findChild<QListWidget*>("File1");
    ASSERT_EQ(files->count(), 1);
    QRect item = files->visualItemRect(files->item(0));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(app.form().engine().active, true);
    EXPECT_TRUE(find("StopA")->isVisible());
    EXPECT_FALSE(find("PortC")->isEnabled());
    QTcpSocket client;
    client.connectToHost("127.0.0.1", static_cast<quint16>(port));
    ASSERT_TRUE(client.waitForConnected(3000));
    // The compass needle shows the recorded course once a record has been replayed.
    auto* compass = window.findChild<CompassWidget*>("Gauge1");
    ASSERT_NE(compass, nullptr);
    EXPECT_EQ(compass->needleDegrees(), -1) << "no needle before the first record";
    EXPECT_TRUE(QTest::qWaitFor([&] { return compass->needleDegrees() == 84; }, 3000))
        << compass->needleDegrees();
    // The client gets the record as the list shows it; the lamp lights for the tick and goes out.
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.canReadLine(); }, 3000));
    std::string sent = client.readLine().toStdString();
    EXPECT_EQ(sent.substr(0, 12), "$GPRMC,12001");
    EXPECT_EQ(FrameSentence(sent.substr(1, sent.find('*') - 1)) + "\r\n", sent);
    EXPECT_TRUE(QTest::qWaitFor([&] { return find("RunA")->isVisible(); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !find("RunA")->isVisible(); }, 1000));

    QTest::mouseClick(find("Pause"), Qt::LeftButton);
    EXPECT_EQ(app.form().c.Pause.value.get(), 1);
    EXPECT_TRUE(find("PauseL")->isVisible());
    EXPECT_FALSE(find("Skip2")->isEnabled());
    // One step while paused: one record more, and the replay stays paused.
    int paused = app.form().engine().index;
    QTest::mouseClick(find("Skip1"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.form().engine().index == paused + 1; }, 5000));
    EXPECT_EQ(app.form().c.Pause.value.get(), 1);
    QTest::mouseClick(find("Pause"), Qt::LeftButton);
    EXPECT_EQ(app.form().c.Pause.value.get(), 0);

    // The middle of the gauge: half the records, and two per cent more.
    auto* gauge = window.findChild<QProgressBar*>("Gauge2");
    QTest::mouseClick(gauge, Qt::LeftButton, {}, QPoint(gauge->width() / 2, gauge->height() / 2));
    EXPECT_NEAR(app.form().engine().index, 600 * 0.51, 600 * 1.02 / gauge->width() + 1);

    QTest::mouseClick(find("StopA"), Qt::LeftButton);
    EXPECT_EQ(app.form().engine().active, false);
    EXPECT_FALSE(find("StopA")->isVisible());
    EXPECT_TRUE(files->isEnabled());

    // The keyboard alone starts and ends a replay.
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Down);
    QTest::keyClick(files, Qt::Key_Return);
    ASSERT_EQ(app.form().engine().active, true);
    ASSERT_NE(QApplication::focusWidget(), nullptr) << "the focus stays in the window";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(app.form().engine().active, false);

    // The minimize button tucks the running window away, with a sign that it did.
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseClick(find("MinC"), Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(find("MiniA")->isVisibleTo(&window));
    EXPECT_EQ(app.form().engine().active, true) << "the replay goes on";
}
