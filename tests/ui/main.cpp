// The window tests share one application object, as the program does.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Tests open real windows, on a display of their own unless one is chosen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
