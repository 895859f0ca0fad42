// A Garmin download in the real window: the button, the real question, a file name typed and
// Enter, against the simulated receiver on a pseudo-terminal, which tells what it sent.
#include "platform/receiver_process.h"
#include "support/temp_folder.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

// Answers the next question the window asks, as the user would: by clicking its button.
void answerNextQuestion(QMessageBox::StandardButton answer, QString& question) {
    QTimer::singleShot(50, [answer, &question] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            answerNextQuestion(answer, question);
            return;
        }
        question = box->text();
        box->button(answer)->click();
    });
}

} // namespace

TEST(DownloadWindow, GarminButtonNameAndEnter) {
    test::TempFolder scratch;
    std::string expected = scratch.file("expected.trk");
    test::ReceiverProcess receiver(
        {"--points", "12", "--expect", QString::fromStdString(expected)});
    ASSERT_TRUE(receiver.device.starts_with("/dev/")) << receiver.device;
    test::ShownWindow shown({{"Korvel.ini", "[Devices]\nCOM2=" + receiver.device}});
    ASSERT_TRUE(shown.exposed());
    MainWindow& window = shown.window();

    QString question;
    answerNextQuestion(QMessageBox::Yes, question);
    window.findChild<QAbstractButton*>("DownloadC")->click();
    EXPECT_EQ(question, "GPS-Receiver connected and in GARMIN-Mode ?");
    auto* ports = window.findChild<QComboBox*>("PortC");
    EXPECT_EQ(ports->count(), 16);
    EXPECT_EQ(ports->currentText(), "COM2");
    EXPECT_FALSE(window.findChild<QAbstractButton*>("SAVE")->isVisible());

    // The window is active again once the question is answered; the name goes where the
    // form put the focus.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* name = window.findChild<QLineEdit*>("FileT");
    ASSERT_EQ(QApplication::focusWidget(), name);
    // A name with a letter beyond ASCII is written as typed, in UTF-8.
    QTest::keyClicks(name, "M");
    QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString::fromUtf8("\xc3\xbc"),
                        Qt::NoModifier);
    QTest::keyClicks(name, "nchen");
    QTest::keyClick(name, Qt::Key_Return);
    auto* messages = window.findChild<QListWidget*>("List1");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return messages->count() > 0 && messages->currentItem() &&
                   messages->currentItem()->text() == "Transfer OK";
        },
        20000));
    // The file holds what the receiver sent, after its own two header lines.
    std::string track = test::ReadFile(shown.program.file("Tracks/M\xc3\xbcnchen.trk"));
    size_t third = track.find("\r\n", track.find("\r\n") + 2) + 2;
    EXPECT_EQ(track.substr(third), test::ReadFile(expected));
    EXPECT_EQ(ports->count(), 26);
    EXPECT_TRUE(window.findChild<QAbstractButton*>("DownloadC")->isEnabled());
    // The new file is listed for replay.
    auto* files = window.findChild<QListWidget*>("File1");
    EXPECT_FALSE(
        files->findItems(QString::fromUtf8("M\xc3\xbcnchen.trk"), Qt::MatchExactly).isEmpty());
}
