// The long press on a file in the real window: after a second the file menu pops up.
#include "ui/shown_window.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

TEST(FileMenuWindow, ALongPressOffersDelete) {
    test::ShownWindow shown({{"Tracks/old.log", std::string()}});
    ASSERT_TRUE(shown.exposed());
    MainWindow& window = shown.window();
    auto* files = window.findChild<QListWidget*>("File1");
    ASSERT_EQ(files->count(), 1);
    QPoint at = files->visualItemRect(files->item(0)).center();

    QTest::mousePress(files->viewport(), Qt::LeftButton, {}, at);
    QMenu* menu = nullptr;
    for (int waited = 0; waited < 3000 && !menu; waited += 50) {
        QTest::qWait(50);
        for (QMenu* candidate : window.findChildren<QMenu*>())
            if (candidate->isVisible())
                menu = candidate;
    }
    ASSERT_NE(menu, nullptr) << "no menu after holding the button";
    QStringList items;
    for (QAction* action : menu->actions())
        items << action->text();
    EXPECT_EQ(items, QStringList({"rename", "delete", "cancel"}));
    menu->findChild<QAction*>("MDel")->trigger();
    EXPECT_FALSE(std::filesystem::exists(shown.program.file("Tracks/old.log")));
    EXPECT_EQ(files->count(), 0);
}
