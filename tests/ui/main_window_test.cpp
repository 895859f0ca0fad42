#include "ui/main_window.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(MainWindow, OpensTitledAndCloses) {
    korvel::MainWindow window;
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Korvel");
    EXPECT_EQ(QApplication::topLevelWidgets().count(), 1);
    EXPECT_TRUE(window.close());
    QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
}
