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
}

void WindowApp::minimize() {
    window_->showMinimized();
}

void WindowApp::quit() {
    QCoreApplication::quit();
}

int RunWindow(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    WindowApp app(folder, FindSettings(folder, UserConfigFolder()));
    app.window().show();
    return application.exec();
}

} // namespace korvel
