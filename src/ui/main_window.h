// The simulator's one window: every control of the form laid out as a widget.
#pragma once

#include "app/main_form.h"
#include "ui/control_binding.h"

#include <QMenu>
#include <QWidget>

namespace korvel {

class MainWindow : public QWidget {
  public:
    explicit MainWindow(MainForm& form);

    // Shows the model again; runs after every user action and every timer tick.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

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

    MainForm& form_;
    ControlBinding binding_;
    QMenu fileMenu_;
    QWidget* manual_;        // the position controls of manual mode
    std::string focusShown_; // the form's focus as last shown or taken from the user
};

} // namespace korvel
