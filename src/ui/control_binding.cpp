#include "ui/control_binding.h"

#include "ui/compass_widget.h"
#include "ui/contrast.h"
#include "ui/picture_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <functional>

namespace korvel {

QString FromText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToText(const QString& text) {
    return text.toUtf8().toStdString();
}

namespace {

// The watcher follows the folder a list shows, and only it.
void watchFolder(QFileSystemWatcher& watcher, const std::string& folder) {
    QString path = QFile::decodeName(folder.empty() ? "." : folder.c_str());
    if (watcher.directories() == QStringList{path})
        return;
    if (!watcher.directories().isEmpty())
        watcher.removePaths(watcher.directories());
    watcher.addPath(path);
}

QColor colorOf(Color c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF),
                  static_cast<int>(c >> 16 & 0xFF));
}

// The control's own colours, with text that reads on them in either palette: an enabled
// control's text at 4.5 : 1 at least, a disabled one's toward its background so that it looks
// disabled, yet at 3 : 1.
QString styleOf(const Control& control) {
    // Grey behind a control is the face every button had: here the desktop's own, as a grey
    // panel looks like a button held down.
    bool ownBack = control.backColor != kSystemColor && control.backColor != kGrey;
    if (!ownBack && control.foreColor == kSystemColor)
        return {};
    QPalette palette = QApplication::palette();
    QColor back = ownBack ? colorOf(control.backColor) : palette.color(QPalette::Window);
    QColor text = control.foreColor != kSystemColor ? colorOf(control.foreColor)
                                                    : palette.color(QPalette::WindowText);
    QColor enabled = Readable(text, back, 4.5);
    QColor disabled = Readable(Mix(enabled, back, 0.4), back, 3.0);
    QString backStyle = ownBack ? "background-color: " + back.name() + "; " : QString();
    return "* { " + backStyle + "color: " + enabled.name() +
           "; } *:disabled { color: " + disabled.name() + "; }";
}

void setItems(QListWidget* list, const std::vector<std::string>& items) {
    bool same = list->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->text() == FromText(items[static_cast<size_t>(i)]);
    if (same)
        return;
    list->clear();
    for (const std::string& item : items)
        list->addItem(FromText(item));
}

// The box's items as textAt gives the count of them, rebuilt only when they changed.
void setItems(QComboBox* box, size_t count,
              const std::function<const std::string&(size_t)>& textAt) {
    bool same = box->count() == static_cast<int>(count);
    for (size_t i = 0; same && i < count; ++i)
        same = box->itemText(static_cast<int>(i)) == FromText(textAt(i));
    if (same)
        return;
    box->clear();
    for (size_t i = 0; i < count; ++i)
        box->addItem(FromText(textAt(i)));
}

void setItems(QComboBox* box, const std::vector<std::string>& items) {
    setItems(box, items.size(), [&items](size_t i) -> const std::string& { return items[i]; });
}

void setItems(QComboBox* box, const ComboBox& control) {
    setItems(box, control.items.size(),
             [&control](size_t i) -> const std::string& { return control.shown(i); });
}

// A button's "&" would mark a shortcut key: the caption shows it as it stands.
QString buttonText(const QString& caption) {
    return QString(caption).replace("&", "&&");
}

QString captionOr(const Control& control, const QString& picture) {
    return control.caption.empty() ? picture : FromText(control.caption);
}

} // namespace

void ControlBinding::userAction(const std::function<void()>& action) {
    // Showing the model changes widgets, which must not count as the user's doing.
    if (refreshing_)
        return;
    action();
    afterAction_();
}

void ControlBinding::refresh() {
    refreshing_ = true;
    for (auto& refresher : refreshers_)
        refresher();
    refreshing_ = false;
}

void ControlBinding::bindCommon(Control& control, QWidget* widget, std::function<void()> specific) {
    widget->setObjectName(QString::fromStdString(control.name));
    refreshers_.push_back([&control, widget, specific] {
        widget->setToolTip(FromText(control.toolTip));
        widget->setEnabled(control.enabled);
        widget->setVisible(control.visible);
        QString style = styleOf(control);
        if (widget->styleSheet() != style)
            widget->setStyleSheet(style);
        if (specific)
            specific();
    });
}

namespace {

class PressableLabel : public QLabel {
  public:
    explicit PressableLabel(std::function<void()> pressed) : pressed_(std::move(pressed)) {}

  protected:
    void mousePressEvent(QMouseEvent*) override { pressed_(); }

  private:
    std::function<void()> pressed_;
};

} // namespace

QLabel* ControlBinding::label(Label& control) {
    auto* widget = new PressableLabel(clicker(control.onClick));
    // The labels that act on a click (units, time, maximum) say so under the pointer.
    if (control.onClick)
        widget->setCursor(Qt::PointingHandCursor);
    bindCommon(control, widget, [&control, widget] { widget->setText(FromText(control.caption)); });
    return widget;
}

QLabel* ControlBinding::label(Control& control, const QString& picture) {
    auto* widget = new QLabel;
    bindCommon(control, widget,
               [&control, widget, picture] { widget->setText(captionOr(control, picture)); });
    return widget;
}

QPushButton* ControlBinding::button(CommandButton& control) {
    auto* widget = new QPushButton;
    QObject::connect(widget, &QPushButton::clicked, clicker(control.onClick));
    bindCommon(control, widget,
               [&control, widget] { widget->setText(buttonText(FromText(control.caption))); });
    return widget;
}

QAbstractButton* ControlBinding::image(Image& control, const QString& picture) {
    auto* widget = new QToolButton;
    widget->setAutoRaise(true);
    QObject::connect(widget, &QToolButton::clicked, clicker(control.onClick));
    bindCommon(control, widget, [widget, picture] { widget->setText(picture); });
    return widget;
}

QAbstractButton* ControlBinding::checkBox(CheckBox& control, const QString& picture) {
    QAbstractButton* widget =
        picture.isEmpty() ? static_cast<QAbstractButton*>(new QCheckBox) : new QToolButton;
    widget->setCheckable(true);
    QObject::connect(widget, &QAbstractButton::pressed, [this, &control] {
        userAction([&control] {
            if (control.onMouseDown)
                control.onMouseDown();
        });
    });
    QObject::connect(widget, &QAbstractButton::clicked, [this, &control](bool on) {
        userAction([&control, on] {
            control.value.set(on ? 1 : 0);
            if (control.onMouseUp)
                control.onMouseUp();
        });
    });
    bindCommon(control, widget, [&control, widget, picture] {
        widget->setText(buttonText(captionOr(control, picture)));
        widget->setChecked(control.value.get() != 0);
    });
    return widget;
}

QRadioButton* ControlBinding::option(OptionButton& control) {
    auto* widget = new QRadioButton;
    // The window clears the other buttons of the group; only the chosen one raises its click.
    QObject::connect(widget, &QRadioButton::toggled, [this, &control](bool on) {
        userAction([&control, on] {
            if (on)
                control.value.set(true);
            else
                control.value.reset(false);
        });
    });
    bindCommon(control, widget, [&control, widget] {
        widget->setText(buttonText(FromText(control.caption)));
        // A group may have none chosen (a rate only the list offers): the window lets the
        // checked button go only outside its group.
        if (widget->isChecked() && !control.value.get()) {
            widget->setAutoExclusive(false);
            widget->setChecked(false);
            widget->setAutoExclusive(true);
        }
        widget->setChecked(control.value.get());
    });
    return widget;
}

QScrollBar* ControlBinding::scrollBar(ScrollBar& control, Qt::Orientation orientation) {
    auto* widget = new QScrollBar(orientation);
    // The model's first limit sits at the top or left end, even when it is the larger one;
    // the widget always grows downward or to the right, so such bars are mirrored.
    auto toWidget = [&control](int v) {
        return control.min <= control.max ? v : control.min + control.max - v;
    };
    widget->setRange(std::min(control.min, control.max), std::max(control.min, control.max));
    widget->setSingleStep(1);
    widget->setPageStep(1);
    QObject::connect(widget, &QScrollBar::valueChanged, [this, &control, toWidget](int v) {
        userAction([&control, toWidget, v] { control.setValue(toWidget(v)); });
    });
    bindCommon(control, widget,
               [&control, widget, toWidget] { widget->setValue(toWidget(control.value.get())); });
    return widget;
}

namespace {

// A list that reports which mouse button went down on it, and Enter on its current item.
class PressableList : public QListWidget {
  public:
    std::function<void(int button)> pressed;
    std::function<void()> entered;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        QListWidget::mousePressEvent(event);
        if (pressed)
            pressed(event->button() == Qt::RightButton ? kRightButton : kLeftButton);
    }
    void keyPressEvent(QKeyEvent* event) override {
        bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && entered && currentRow() >= 0)
            entered();
        else
            QListWidget::keyPressEvent(event);
    }
};

} // namespace

std::function<void()> ControlBinding::clicker(std::function<void()>& handler) {
    return [this, &handler] {
        userAction([&handler] {
            if (handler)
                handler();
        });
    };
}

std::function<void(int)> ControlBinding::reporter(std::function<void(int)>& handler) {
    return [this, &handler](int button) {
        userAction([&handler, button] {
            if (handler)
                handler(button);
        });
    };
}

QListWidget* ControlBinding::list(ListBox& control) {
    auto* widget = new PressableList;
    widget->pressed = reporter(control.onMouseDown);
    bindCommon(control, widget, [&control, widget] {
        setItems(widget, control.items);
        if (control.listIndex >= 0)
            widget->setCurrentRow(control.listIndex);
    });
    return widget;
}

QComboBox* ControlBinding::comboBox(ComboBox& control) {
    auto* widget = new QComboBox;
    QObject::connect(widget, &QComboBox::activated, [this, &control](int index) {
        userAction([&control, index] { control.listIndex.set(index); });
    });
    bindCommon(control, widget, [&control, widget] {
        setItems(widget, control);
        widget->setCurrentIndex(control.listIndex.get());
        if (auto* rows = qobject_cast<QListView*>(widget->view()))
            for (int i = 0; i < widget->count(); ++i)
                rows->setRowHidden(i, i != widget->currentIndex() &&
                                          control.isHidden(static_cast<size_t>(i)));
    });
    return widget;
}

QLineEdit* ControlBinding::textBox(TextBox& control) {
    auto* widget = new QLineEdit;
    QObject::connect(widget, &QLineEdit::textEdited, [this, &control](const QString& text) {
        userAction([&control, text] { control.text.set(ToText(text)); });
    });
    bindCommon(control, widget, [&control, widget] {
        if (ToText(widget->text()) != control.text.get())
            widget->setText(FromText(control.text.get()));
    });
    return widget;
}

QListWidget* ControlBinding::fileList(FileListBox& control) {
    auto* widget = new PressableList;
    // The press selects the file: a long press acts on it.
    widget->pressed = [this, &control, widget](int button) {
        control.listIndex = widget->currentRow();
        reporter(control.onMouseDown)(button);
    };
    // Enter on the file chosen with the arrow keys is the click of the keyboard user.
    widget->entered = [this, &control, widget] {
        int row = widget->currentRow();
        userAction([&control, row] {
            control.listIndex = row;
            if (control.onClick)
                control.onClick();
        });
    };
    QObject::connect(widget, &QListWidget::itemClicked, widget->entered);
    // The arrow keys move the choice; the model keeps it, so that showing the model again
    // does not take it back.
    QObject::connect(widget, &QListWidget::currentRowChanged,
                     [&control](int row) { control.listIndex = row; });
    QFileSystemWatcher* watcher = folderWatcher(widget, [&control] { control.refresh(); });
    bindCommon(control, widget, [&control, widget, watcher] {
        setItems(widget, control.items);
        widget->setCurrentRow(control.listIndex);
        watchFolder(*watcher, control.path());
    });
    return widget;
}

QComboBox* ControlBinding::driveList(DriveListBox& control) {
    auto* widget = new QComboBox;
    QObject::connect(widget, &QComboBox::activated, [this, &control, widget](int index) {
        userAction(
            [&control, widget, index] { control.drive.set(ToText(widget->itemText(index))); });
    });
    bindCommon(control, widget, [&control, widget] {
        setItems(widget, control.items);
        widget->setCurrentText(FromText(control.drive.get()));
    });
    return widget;
}

QFileSystemWatcher* ControlBinding::folderWatcher(QWidget* list, std::function<void()> refresh) {
    auto* watcher = new QFileSystemWatcher(list);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged,
                     [this, refresh] { userAction(refresh); });
    return watcher;
}

QListWidget* ControlBinding::folderList(DirListBox& control) {
    auto* widget = new QListWidget;
    // A double click or Enter opens the folder, as in the folder lists users know.
    QObject::connect(widget, &QListWidget::itemActivated, [this, &control](QListWidgetItem* item) {
        std::string folder = control.folderOf(ToText(item->text()));
        userAction([&control, folder] { control.path.set(folder); });
    });
    QFileSystemWatcher* watcher = folderWatcher(widget, [&control] { control.refresh(); });
    bindCommon(control, widget, [&control, widget, watcher] {
        setItems(widget, control.items);
        watchFolder(*watcher, control.path.get());
    });
    return widget;
}

namespace {

// A progress bar that reports where it was clicked, in its own width's unit.
class GaugeWidget : public QProgressBar {
  public:
    explicit GaugeWidget(std::function<void(double x, int width)> pressed)
        : pressed_(std::move(pressed)) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override { pressed_(event->position().x(), width()); }

  private:
    std::function<void(double, int)> pressed_;
};

} // namespace

QProgressBar* ControlBinding::gauge(Gauge& control) {
    auto* widget = new GaugeWidget([this, &control](double x, int width) {
        userAction([&control, x, width] {
            control.width = width;
            if (control.onMouseDown)
                control.onMouseDown(x);
        });
    });
    widget->setTextVisible(false);
    bindCommon(control, widget, [&control, widget] {
        widget->setRange(0, std::max(control.max, 1));
        widget->setValue(std::clamp(control.value, 0, std::max(control.max, 1)));
    });
    return widget;
}

QWidget* ControlBinding::compass(Gauge& control) {
    auto* widget = new CompassWidget(control);
    bindCommon(control, widget, [widget] { widget->update(); });
    return widget;
}

QWidget* ControlBinding::picture(PictureBox& control) {
    auto* widget = new PictureWidget(control);
    bindCommon(control, widget, [widget] { widget->update(); });
    return widget;
}

} // namespace korvel
