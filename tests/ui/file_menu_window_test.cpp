// The file menu of a long press, as the user meets it in the real window: after it, one click
// in the list plays a file; a rename can be left as it was begun.
#include "platform/run_until.h"
#include "support/temp_folder.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

class FileMenuWindow : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shown.exposed());
        files = shown.window().findChild<QListWidget*>("File1");
        fileT = shown.window().findChild<QLineEdit*>("FileT");
    }
    QPoint fileAt(const char* name) {
        QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
        return found.empty() ? QPoint() : files->visualItemRect(found.front()).center();
    }
    // Holds the button on the file until the menu shows, and takes its item: the menu has the
    // mouse, the list never sees the button let go.
    void choose(const char* name, const char* item) {
        QTest::mousePress(files->viewport(), Qt::LeftButton, {}, fileAt(name));
        QMenu* menu = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (QMenu* candidate : shown.window().findChildren<QMenu*>())
                    if (candidate->isVisible())
                        menu = candidate;
                return menu != nullptr;
            },
            3000))
            << "no menu after holding the button";
        menu->findChild<QAction*>(item)->trigger();
        shown.window().refresh();
    }
    bool fileButtonsShown() {
        for (const char* name : {"LOA", "SAVE", "NMEA", "ALL", "TRACK"})
            if (!shown.find<QAbstractButton>(name)->isVisible())
                return false;
        return shown.find<QAbstractButton>("DownloadC")->isEnabled();
    }

    test::ShownWindow shown{
        {{"Tracks/sample.log",
          test::ReadFile(std::string(KORVEL_SOURCE_DIR) + "/Tracks/sample.log")},
         {"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort())}}};
    QListWidget* files = nullptr;
    QLineEdit* fileT = nullptr;
};

} // namespace

TEST_F(FileMenuWindow, AfterTheMenuOneClickPlaysTheFile) {
    choose("sample.log", "Mcan");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, fileAt("sample.log"));
    EXPECT_TRUE(shown.form().engine().active) << "the first click after the menu plays";
    shown.find<QAbstractButton>("StopA")->click();
    shown.window().refresh();
    EXPECT_TRUE(shown.find<QAbstractButton>("DirSel")->isEnabled());
    EXPECT_TRUE(shown.find<QAbstractButton>("Manu")->isEnabled());
}

TEST_F(FileMenuWindow, ARenameIsLeftWithEscapeOrTheSameName) {
    const std::string file = shown.program.file("Tracks/sample.log");
    choose("sample.log", "MRen");
    EXPECT_EQ(fileT->text(), "sample.log");
    EXPECT_FALSE(fileButtonsShown());
    QTest::keyClicks(fileT, "x");
    EXPECT_EQ(files->count(), 1) << "the new name is no filter";
    QTest::keyClick(fileT, Qt::Key_Escape);
    shown.window().refresh();
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(fileButtonsShown());
    EXPECT_EQ(fileT->text(), "");

    choose("sample.log", "MRen");
    QTest::keyClick(fileT, Qt::Key_Return);
    shown.window().refresh();
    EXPECT_TRUE(std::filesystem::exists(file)) << "its own name leaves it as it is";
    EXPECT_TRUE(fileButtonsShown());

    choose("sample.log", "MRen");
    fileT->clear();
    QTest::keyClicks(fileT, "tour.log");
    QTest::keyClick(fileT, Qt::Key_Return);
    shown.window().refresh();
    EXPECT_TRUE(std::filesystem::exists(shown.program.file("Tracks/tour.log")));
    EXPECT_EQ(files->findItems("tour.log", Qt::MatchExactly).size(), 1);
}
