// The simulator's one window: every control of the form laid out as a widget.
#pragma once

#include "form/main_form.h"
#include "ui/control_binding.h"

#include <QLabel>
#include <QMenu>
#include <QWidget>

class QMimeData;

namespace korvel {

class MainWindow : public QWidget {
  public:
    explicit MainWindow(MainForm& form);

    // Shows the model again; runs after every user action and every timer tick.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A file dropped on the window is chosen as a click in the file list would choose it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QWidget* fileBrowser();
    QWidget* transport();
    QWidget* sentencesAndOutput();
    QWidget* manualEntry();
    QWidget* instruments();
    // The file menu pops up where the user holds the mouse on a file.
    void showFileMenu();
    // The keyboard focus goes where the form puts it.
    void showFocus();
    // The file list's folder, shortened in its middle to the room there is.
    void showFolder();
    // The manual position in decimal degrees.
    void showDecimalPosition();
    // The file a drop brings, when the file list would take a click: "" otherwise.
    QString droppedFile(const QMimeData* data) const;

    MainForm& form_;
    ControlBinding binding_;
    QMenu fileMenu_;
    QWidget* manual_;           // the position controls of manual mode
    QWidget* content_;          // every control, in the scrolling area
    QSize savedSize_;           // as the settings keep it, empty for none
    bool fitted_ = false;       // sized for the screen at the first showing
    QLabel* folder_ = nullptr;  // the file list's folder
    QLabel* decimal_ = nullptr; // the manual position in decimal degrees
    std::string focusShown_;    // the form's focus as last shown or taken from the user
};

} // namespace korvel
