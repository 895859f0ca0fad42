// The simulator's one window: every control of the form laid out as a widget.
#pragma once

#include "app/main_form.h"
#include "ui/control_binding.h"

#include <QWidget>

namespace korvel {

class MainWindow : public QWidget {
  public:
    explicit MainWindow(MainForm& form);

    // Shows the model again; runs after every user action and every timer tick.
    void refresh() { binding_.refresh(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* fileBrowser();
    QWidget* transport();
    QWidget* sentencesAndOutput();
    QWidget* manualEntry();
    QWidget* instruments();

    MainForm& form_;
    ControlBinding binding_;
};

} // namespace korvel
