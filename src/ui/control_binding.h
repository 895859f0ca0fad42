// Widgets bound to controls of the model: each widget carries its control's name as its
// objectName, shows what the control holds, and reports the user's actions to the control.
#pragma once

#include "form/control.h"

#include <QWidget>
#include <functional>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace korvel {

class ControlBinding {
  public:
    // Runs after every action of the user, so the whole window shows the model again.
    explicit ControlBinding(std::function<void()> afterAction) : afterAction_(afterAction) {}

    // picture stands for the image of a control that has no caption of its own.
    QLabel* label(Control& control, const QString& picture = {});
    // A label that reports a press of any mouse button.
    QLabel* label(Label& control);
    QPushButton* button(CommandButton& control);
    // An image the user can click, drawn as the picture.
    QAbstractButton* image(Image& control, const QString& picture);
    // With a picture the check box is drawn as a button that stays pressed while checked.
    QAbstractButton* checkBox(CheckBox& control, const QString& picture = {});
    QRadioButton* option(OptionButton& control);
    QScrollBar* scrollBar(ScrollBar& control, Qt::Orientation orientation);
    QListWidget* list(ListBox& control);
    QComboBox* comboBox(ComboBox& control);
    QLineEdit* textBox(TextBox& control);
    QListWidget* fileList(FileListBox& control);
    QComboBox* driveList(DriveListBox& control);
    QListWidget* folderList(DirListBox& control);
    QProgressBar* gauge(Gauge& control);
    // The course needle: a gauge drawn as a compass card.
    QWidget* compass(Gauge& control);
    QWidget* picture(PictureBox& control);

    // Shows the model in every bound widget.
    void refresh();

  private:
    // The properties every control has: tool tip, enabled, visible, colours.
    void bindCommon(Control& control, QWidget* widget, std::function<void()> specific = {});
    void userAction(const std::function<void()>& action);
    // A watcher owned by a list of files or folders: what other programs add or remove in the
    // folder (a recording, a download, a file manager) shows at once, by refresh.
    QFileSystemWatcher* folderWatcher(QWidget* list, std::function<void()> refresh);
    // Reports a click to a control's handler as a user action.
    std::function<void()> clicker(std::function<void()>& handler);
    // Reports a mouse button to a control's handler as a user action.
    std::function<void(int)> reporter(std::function<void(int)>& handler);

    std::function<void()> afterAction_;
    std::vector<std::function<void()>> refreshers_;
    bool refreshing_ = false;
};

// Texts are UTF-8, as file names and the program's own captions are.
QString FromText(const std::string& text);
std::string ToText(const QString& text);

} // namespace korvel
