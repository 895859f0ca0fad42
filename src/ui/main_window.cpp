#include "ui/main_window.h"

namespace korvel {

MainWindow::MainWindow() {
    setObjectName("MainForm");
    setWindowTitle("Korvel");
    resize(800, 600);
}

} // namespace korvel
