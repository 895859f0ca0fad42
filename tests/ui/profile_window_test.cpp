// The altitude profile as the window paints it.
#include "platform/real_form.h"
#include "ui/shown_window.h"

#include <QImage>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;

TEST(ProfileWindow, TheCurveOfTheSampleLogIsPainted) {
    test::ShownWindow shown(
        {{"Tracks/sample.log",
          test::ReadFile(std::string(KORVEL_SOURCE_DIR) + "/Tracks/sample.log")},
         {"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort())}});
    ASSERT_TRUE(shown.exposed());
    MainWindow& window = shown.window();
    window.resize(1000, 700);
    auto* files = window.findChild<QListWidget*>("File1");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(files->item(0)).center());
    window.refresh();
    EXPECT_EQ(shown.form().c.DIA.toolTip, "Altitude: 388-412m");

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
