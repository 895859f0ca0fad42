// The simulator with its window: the machine's services, the form and the window together.
#pragma once

#include "form/main_form.h"
#include "platform/qt/machine.h"
#include "platform/qt/qt_dialogs.h"
#include "ui/main_window.h"

#include <memory>

namespace korvel {

class WindowApp : public WindowHost {
  public:
    // Needs a QApplication. Reads the settings as the form starts; nothing is opened.
    WindowApp(const std::string& programFolder, const SettingsLocation& settings);

    MainWindow& window() { return *window_; }
    MainForm& form() { return *form_; }

    void minimize() override;
    void quit() override;

  private:
    // Shows the model again after each of the handler's events.
    template <class... Args> void refreshAfter(std::function<void(Args...)>& handler);

    Machine machine_;
    QtDialogs dialogs_;
    Platform platform_;
    std::unique_ptr<MainForm> form_;
    std::unique_ptr<MainWindow> window_;
};

// Opens the window and runs until it ends; with a file, that file chosen as a click would.
int RunWindow(int argc, char* argv[], const std::string& file);

} // namespace korvel
