#include "app/profile_file.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

class Window : public testing::Test {
  protected:
    template <class T> T* find(const std::string& name) { return app.find<T>(name.c_str()); }

    test::ShownWindow app;
};

} // namespace

TEST_F(Window, ShowsEveryControlOfTheFormByName) {
    EXPECT_EQ(app.window().windowTitle(), "Korvel");
    int controls = 0;
    app.form().c.forEach([&](Control& control) {
        ++controls;
        QWidget* widget = find<QWidget>(control.name);
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->toolTip().toStdString(), control.toolTip) << control.name;
        EXPECT_EQ(widget->isEnabled(), control.enabled) << control.name;
        // Captions show as they stand: no "&" turns into a shortcut key.
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !control.caption.empty()) {
            EXPECT_EQ(button->text().replace("&&", "&").toStdString(), control.caption);
            EXPECT_TRUE(QKeySequence::mnemonic(button->text()).isEmpty()) << control.name;
        }
    });
    EXPECT_GT(controls, 80);
    EXPECT_EQ(find<QAbstractButton>("ENDE")->text(), "SAVE SETTINGS AND EXIT");
    EXPECT_TRUE(find<QAbstractButton>("Data(1)")->isChecked());
    EXPECT_FALSE(find<QAbstractButton>("Data(4)")->isChecked());
    EXPECT_EQ(find<QComboBox>("PortC")->currentText(), "COM1");
    EXPECT_EQ(find<QLabel>("ggn")->text(), QString::fromUtf8("48 \xc2\xb0"));
    EXPECT_FALSE(find<QWidget>("StopA")->isVisible());
}

TEST_F(Window, UserActionsReachTheFormAndExitSaves) {
    find<QComboBox>("PortC")->activated(23); // the user picks "TCP"
    EXPECT_EQ(app.form().s.outputPortIndex, 23);

    // The spinner has +12 at its top: three steps below the middle is -3.
    auto* tzdiff = find<QScrollBar>("TZdiff");
    tzdiff->setValue(tzdiff->minimum() + 15);
    EXPECT_EQ(app.form().c.TZdiff.value.get(), -3);
    EXPECT_EQ(find<QLabel>("TZL")->text(), "-3");

    find<QAbstractButton>("ENDE")->click();
    ProfileFile saved = ProfileFile::load(app.program.file("Korvel.ini"));
    EXPECT_EQ(saved.readInt("Port", "COM", -1), 23);
    EXPECT_EQ(saved.readInt("TimeZone", "Diff", 0), -3);
}
