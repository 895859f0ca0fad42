// The real window over the form: its widgets, their layout on a small screen and manual mode.
#include "app/profile_file.h"
#include "platform/run_until.h"
#include "support/temp_folder.h"
#include "ui/shown_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

using namespace korvel;

// Every control of the form is a widget of its name, tool tip and state, and one whose caption
// is a symbol or empty has a tool tip; captions show as they stand (no "&" turns into a shortcut
// key); what the user changes, and the window's size, are saved on exit.
TEST(Window, ShowsEveryControlAndSavesWhatTheUserChose) {
    test::ShownWindow app;
    int controls = 0;
    app.form().c.forEach([&](Control& control) {
        ++controls;
        QWidget* widget = app.find(control.name.c_str());
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->toolTip().toStdString(), control.toolTip) << control.name;
        // A symbol, a value or nothing says nothing: the tool tip says what the control is.
        if (std::none_of(control.caption.begin(), control.caption.end(),
                         [](unsigned char ch) { return std::isalpha(ch); })) {
            EXPECT_FALSE(control.toolTip.empty()) << control.name;
        }
        EXPECT_EQ(widget->isEnabled(), control.enabled) << control.name;
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !control.caption.empty()) {
            EXPECT_EQ(button->text().replace("&&", "&").toStdString(), control.caption);
            EXPECT_TRUE(QKeySequence::mnemonic(button->text()).isEmpty()) << control.name;
        }
    });
    EXPECT_GT(controls, 80);
    auto* ports = app.find<QComboBox>("PortC");
    EXPECT_TRUE(ports->itemText(20).startsWith("LPT1 (/dev/")) << "a port shows its device";
    EXPECT_EQ(ports->itemText(23), "TCP");
    // A rate only the list offers leaves neither button checked; a button's checks it.
    auto* rates = app.find<QComboBox>("BaudC");
    rates->activated(6); // 57600
    auto* low = app.find<QRadioButton>("Pspeed(0)");
    auto* high = app.find<QRadioButton>("Pspeed(1)");
    ASSERT_TRUE(low && high);
    EXPECT_FALSE(low->isChecked() || high->isChecked());
    rates->activated(3); // 9600
    EXPECT_TRUE(high->isChecked() && !low->isChecked());
    ports->activated(23); // the user picks "TCP"
    // The spinner has +12 at its top: three steps below the middle is -3.
    auto* tzdiff = app.find<QScrollBar>("TZdiff");
    tzdiff->setValue(tzdiff->minimum() + 15);
    EXPECT_EQ(app.find<QLabel>("TZL")->text(), "-3");
    app.window().resize(780, 690); // the offscreen screen is 800 x 800
    app.find<QAbstractButton>("ENDE")->click();
    ProfileFile saved = ProfileFile::load(app.program.file("Korvel.ini"));
    EXPECT_EQ(saved.readInt("Port", "COM", -1), 23);
    EXPECT_EQ(saved.readInt("TimeZone", "Diff", 0), -3);
    // The next start opens the window at the size it had.
    test::ShownWindow again({{"Korvel.ini", test::ReadFile(app.program.file("Korvel.ini"))}});
    EXPECT_EQ(again.window().size(), QSize(780, 690));
    // Closed by its frame, it keeps its size too.
    again.window().resize(900, 650);
    again.window().close();
    ProfileFile closed = ProfileFile::load(again.program.file("Korvel.ini"));
    EXPECT_EQ(closed.readInt("Window", "Width", 0), 900);
}

namespace {

// Every control shown lies inside the window's scrolling area and overlaps no other (a frame
// holds the controls inside it). At the usual fonts they need no scrolling on a 1024 x 700
// screen with a title bar.
void expectEveryControlInside(MainWindow& window, MainForm& form, const std::string& mode,
                              bool withoutScrolling) {
    window.resize(1024, 660);
    QApplication::processEvents();
    QWidget* content = window.findChild<QScrollArea*>("Scrolling")->widget();
    if (withoutScrolling) {
        EXPECT_TRUE(window.rect().contains(content->geometry()))
            << mode << ": the controls need " << content->width() << " x " << content->height();
    }
    std::vector<std::pair<std::string, QRect>> shown;
    form.c.forEach([&](Control& control) {
        QWidget* widget = window.findChild<QWidget*>(QString::fromStdString(control.name));
        if (widget && widget->isVisibleTo(&window))
            shown.push_back(
                {control.name, QRect(widget->mapTo(content, QPoint()), widget->size())});
    });
    EXPECT_GT(shown.size(), 40u) << mode;
    for (size_t i = 0; i < shown.size(); ++i) {
        auto [name, place] = shown[i];
        EXPECT_TRUE(content->rect().contains(place)) << mode << ": " << name << " is outside";
        for (size_t j = i + 1; j < shown.size(); ++j) {
            QRect other = shown[j].second;
            EXPECT_TRUE(!place.intersects(other) || place.contains(other) || other.contains(place))
                << mode << ": " << name << " overlaps " << shown[j].first;
        }
    }
}

} // namespace

// The smallest screen the window is made for, 1024 x 700, at the fonts users choose, in replay
// and in manual mode.
TEST(Window, EveryControlFitsTheSmallestScreenAtAnyFont) {
    QFont before = QApplication::font();
    for (int points : {9, 11, 13}) {
        QFont font = before;
        font.setPointSize(points);
        QApplication::setFont(font);
        test::ShownWindow shown(
            {{"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort())}});
        ASSERT_TRUE(shown.exposed());
        std::string mode = std::to_string(points) + " pt";
        bool usual = points < 13 && QGuiApplication::primaryScreen()->devicePixelRatio() < 1.2;
        expectEveryControlInside(shown.window(), shown.form(), mode + ", replay", usual);
        shown.find<QAbstractButton>("Manu")->click();
        expectEveryControlInside(shown.window(), shown.form(), mode + ", manual mode", usual);
    }
    QApplication::setFont(before);
}

// The position controls take the file list's place in manual mode and work on the real widgets.
TEST(Window, ManualModeOnTheRealWidgets) {
    test::ShownWindow shown(
        {{"Korvel.ini", "[Port]\nCOM=23\n[Devices]\nTCP=" + std::to_string(test::FreePort())}});
    ASSERT_TRUE(shown.exposed());
    MainWindow& window = shown.window();
    auto* bar = window.findChild<QScrollBar*>("VSc1(0)");
    auto* decimal = window.findChild<QLabel*>("DecimalPosition");
    EXPECT_FALSE(bar->isVisible() || decimal->isVisible()) << "they belong to manual mode";

    window.findChild<QAbstractButton*>("Manu")->click();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(window.findChild<QWidget*>("File1")->isVisible());
    // The latitude bar has +89 at its top: one step down is one degree less.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window.findChild<QLabel*>("ggn")->text(), QString::fromUtf8("47 \xc2\xb0"));
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(window.findChild<QLabel*>("mmn")->text(), "06 '") << "one minute north";
    EXPECT_EQ(shown.form().c.VSc1[0].value.get(), 47) << "and not a bar step too";
    // The position in decimal degrees too, its hemispheres kept just south and west of zero.
    EXPECT_EQ(decimal->text(), QString::fromUtf8("47.11242\xc2\xb0 N   11.63658\xc2\xb0 E"));
    shown.form().manual().setCoordinateTenths(true, -1);
    shown.form().manual().setCoordinateTenths(false, -5);
    window.refresh();
    EXPECT_EQ(decimal->text(), QString::fromUtf8("0.00003\xc2\xb0 S   0.00014\xc2\xb0 W"));
    // A click on a unit switches every unit.
    QTest::mouseClick(window.findChild<QLabel*>("Label3"), Qt::LeftButton);
    EXPECT_EQ(window.findChild<QLabel*>("Label9")->text(), "ft NN");
}
