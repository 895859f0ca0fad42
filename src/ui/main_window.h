// The simulator's one window.
#pragma once

#include <QMainWindow>

namespace korvel {

class MainWindow : public QMainWindow {
  public:
    MainWindow();
};

} // namespace korvel
