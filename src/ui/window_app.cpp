#include "ui/window_app.h"

#include "app/profile_file.h"

#include <QApplication>

namespace korvel {

WindowApp::WindowApp(const std::string& programFolder, const SettingsLocation& settings)
    : machine_(DeviceNames::fromProfile(ProfileFile::load(settings.readPath))),
      platform_(machine_.platform(dialogs_, *this)),
      form_(std::make_unique<MainForm>(platform_, programFolder, settings)) {
    form_->Form_Load();
    window_ = std::make_unique<MainWindow>(*form_);
    dialogs_.setParent(window_.get());
    // What the receiver and the TCP clients bring shows at once, like a timer's tick.
    refreshAfter(machine_.comm2.onReceive);
    refreshAfter(machine_.winsock.onConnectionRequest);
    refreshAfter(machine_.winsock.onDataArrival);
    refreshAfter(machine_.winsock.onError);
}

template <class... Args> void WindowApp::refreshAfter(std::function<void(Args...)>& handler) {
    handler = [this, inner = handler](Args... args) {
        if (inner)
            inner(args...);
        window_->refresh();
    };
}

void WindowApp::minimize() {
    window_->showMinimized();
}

void WindowApp::quit() {
    QCoreApplication::quit();
}

int RunWindow(int argc, char* argv[], const std::string& file) {
    QApplication application(argc, argv);
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    WindowApp app(FindDataHome(folder, UserDataFolder()), FindSettings(folder, UserConfigFolder()));
    app.window().show();
    if (!file.empty()) {
        app.form().ChooseFile(file);
        app.window().refresh();
    }
    return application.exec();
}

} // namespace korvel
