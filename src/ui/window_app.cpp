#include "ui/window_app.h"

#include "app/profile_file.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

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

namespace {

int signalPipe[2] = {-1, -1};

void onStopSignal(int) {
    char stop = 1;
    (void)!::write(signalPipe[1], &stop, 1);
}

// SIGTERM, SIGINT and SIGHUP (the session ends) close the window as the user would, so that
// what the program made while it ran goes with it: the pseudo-terminal's link, a download's
// temporary file, the completed copy of a log.
std::unique_ptr<QSocketNotifier> closeOnStopSignals() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    auto notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [] {
        char stop;
        while (::read(signalPipe[0], &stop, 1) > 0) {
        }
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        std::signal(number, onStopSignal);
    return notifier;
}

} // namespace

int RunWindow(int argc, char* argv[], const std::string& file) {
    QApplication application(argc, argv);
    std::unique_ptr<QSocketNotifier> stopSignals = closeOnStopSignals();
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    WindowApp app(FindDataHome(folder, UserDataFolder()), FindSettings(folder, UserConfigFolder()));
    app.window().show();
    if (!file.empty()) {
        app.form().files().ChooseFile(file);
        app.window().refresh();
    }
    return application.exec();
}

} // namespace korvel
