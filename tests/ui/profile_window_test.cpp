// The altitude profile as the window paints it.
#include "platform/real_form.h"
#include "support/temp_folder.h"
#include "ui/window_app.h"

#include <QImage>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

TEST(ProfileWindow, TheCurveOfTheSampleLogIsPainted) {
    test::TempFolder program;
    std::filesystem::create_directory(program.file("Tracks"));
    std::filesystem::copy_file(std::string(KORVEL_SOURCE_DIR) + "/Tracks/sample.log",
                               program.file("Tracks/sample.log"));
    program.write("Korvel.ini",
                  "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort()) + "\n");
    WindowApp app(program.path(), FindSettings(program.path(), program.file("config")));
    MainWindow& window = app.window();
    window.resize(1000, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* files = window.findChild<QListWidget*>("File1");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(files->item(0)).center());
    window.refresh();
    EXPECT_EQ(app.form().c.DIA.toolTip, "Altitude: 388-412m");

    QWidget* dia = window.findChild<QWidget*>("DIA");
    QImage image = dia->grab().toImage();
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
