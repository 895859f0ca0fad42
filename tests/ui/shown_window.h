// A program folder holding the given files, and the window opened on it and shown.
#pragma once

#include "support/temp_folder.h"
#include "ui/window_app.h"

#include <map>
#include <memory>

namespace korvel::test {

class ShownWindow {
  public:
    // Names are relative to the program folder, which always has a "Tracks" folder.
    explicit ShownWindow(const std::map<std::string, std::string>& files = {});

    MainWindow& window() { return app_->window(); }
    MainForm& form() { return app_->form(); }
    template <class T = QWidget> T* find(const char* name) { return window().findChild<T*>(name); }
    // Whether the window reached the screen.
    bool exposed() const { return exposed_; }

    TempFolder program;

  private:
    std::unique_ptr<WindowApp> app_;
    bool exposed_ = false;
};

} // namespace korvel::test
