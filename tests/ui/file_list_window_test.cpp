// The file list as the user meets it in the real window: a click plays a file and paints its
// profile; the menu of a long press renames or deletes it; the lists follow their folder.
#include "platform/run_until.h"
#include "support/temp_folder.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

class FileListWindow : public testing::Test {
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
        // The question before a delete, answered Yes as the user would.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Yes)->click();
        });
        answer.start(50);
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

TEST_F(FileListWindow, AClickPaintsTheProfile) {
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, fileAt("sample.log"));
    shown.window().refresh();
    QImage image = shown.find("DIA")->grab().toImage();
    int curve = 0, reference = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor pixel = image.pixelColor(x, y);
            curve += pixel == QColor(200, 200, 0);
            reference += pixel == QColor(0, 0, 0) && std::abs(y - image.height() / 2) <= 1;
        }
    EXPECT_GT(curve, image.width() / 2) << "the yellow curve runs across the picture";
    EXPECT_GT(reference, image.width() / 2) << "the 1000 m line";
}

TEST_F(FileListWindow, AfterTheMenuOneClickPlaysTheFile) {
    choose("sample.log", "Mcan");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, fileAt("sample.log"));
    EXPECT_TRUE(shown.form().engine().active) << "the first click after the menu plays";
    shown.find<QAbstractButton>("StopA")->click();
    shown.window().refresh();
    EXPECT_TRUE(shown.find<QAbstractButton>("DirSel")->isEnabled());
    EXPECT_TRUE(shown.find<QAbstractButton>("Manu")->isEnabled());
}

TEST_F(FileListWindow, ARenameIsLeftWithEscapeOrTheSameName) {
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

TEST_F(FileListWindow, ADeleteAskedForIsGoneFromTheList) {
    choose("sample.log", "MDel");
    EXPECT_FALSE(std::filesystem::exists(shown.program.file("Tracks/sample.log")));
    EXPECT_EQ(files->count(), 0);
}

// The lists show what is in the folder now, whoever made it; Enter on a folder opens it.
TEST_F(FileListWindow, TheListsFollowTheFolderAndEnterOpensAFolder) {
    auto* folders = shown.find<QListWidget>("Dir1");
    shown.program.write("Tracks/made-meanwhile.log", "");
    std::filesystem::create_directories(shown.program.file("Tracks/later"));
    EXPECT_TRUE(test::RunUntil(
        [&] { return !files->findItems("made-meanwhile.log", Qt::MatchExactly).empty(); }, 3000))
        << "a file another program wrote";
    ASSERT_TRUE(test::RunUntil(
        [&] { return !folders->findItems("later", Qt::MatchEndsWith).empty(); }, 3000))
        << "a folder made meanwhile";
    folders->setCurrentItem(folders->findItems("later", Qt::MatchEndsWith).front());
    QTest::keyClick(folders, Qt::Key_Return);
    EXPECT_EQ(shown.form().c.Dir1.path.get(), shown.program.file("Tracks/later"));
}
