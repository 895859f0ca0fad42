#include "ui/window_app.h"

#include "app/profile_file.h"

#include <QApplication>
#include <filesystem>

namespace korvel {

WindowApp::WindowApp(const std::string& programFolder, const SettingsLocation& settings)
    : settings_(settings), machine_(DeviceNames::fromProfile(ProfileFile::load(settings.readPath))),
      platform_(machine_.platform(dialogs_, *this)),
      form_(std::make_unique<MainForm>(platform_, programFolder, settings)) {
    form_->Form_Load();
    window_ = std::make_unique<MainWindow>(*form_);
    dialogs_.setParent(window_.get());
    restoreSize();
    window_->onClose = [this] { saveSize(); };
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
    saveSize();
    QCoreApplication::quit();
}

void WindowApp::restoreSize() {
    ProfileFile profile = ProfileFile::load(settings_.readPath);
    long width = profile.readInt("Window", "Width", 0),
         height = profile.readInt("Window", "Height", 0);
    // A size from a hand-edited file is taken within reason; the layout keeps its minimum.
    if (width >= 320 && height >= 240 && width <= 20000 && height <= 20000)
        window_->resize(static_cast<int>(width), static_cast<int>(height));
}

void WindowApp::saveSize() {
    std::error_code ec;
    const std::string& from =
        std::filesystem::exists(settings_.writePath, ec) ? settings_.writePath : settings_.readPath;
    ProfileFile profile = ProfileFile::load(from);
    profile.writeInt("Window", "Width", window_->width());
    profile.writeInt("Window", "Height", window_->height());
    // Only the size is at stake: a file that cannot be written keeps the size it had.
    std::string error;
    profile.save(settings_.writePath, error);
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
