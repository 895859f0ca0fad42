#include "ui/window_app.h"

#include "app/profile_file.h"

#include <QApplication>

namespace korvel {

WindowApp::WindowApp(const std::string& programFolder, const SettingsLocation& settings)
    : devices_(DeviceNames::fromProfile(ProfileFile::load(settings.readPath))),
      comm1_([this](int port) { return devices_.serial(port); }),
      comm2_([this](int port) { return devices_.serial(port); }),
      printers_([this](const std::string& name) { return devices_.printer(name); }),
      platform_{comm1_, comm2_, winsock_, portIO_, printers_, clock_, dialogs_, *this},
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
