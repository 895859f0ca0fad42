// korvel_screenshots FOLDER: the window as a user sees it on a 1024 x 700 screen, saved as PNG
// pictures in FOLDER: idle, replaying the sample log, and in manual mode at the desktop's font,
// and the replay again at a 13 pt font. tools/screenshots runs it under Xvfb with a window
// manager, which frames the window as a desktop does.
#include "ui/window_app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <iostream>

using namespace korvel;

namespace {

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(MainWindow& window, const QString& path) {
    window.refresh();
    wait(300);
    bool saved = window.grab().save(path);
    std::cout << (saved ? "saved " : "could not save ") << path.toStdString() << "\n";
    return saved;
}

// The pictures of one font, named with suffix; all of them unless replayOnly.
bool shoot(const QString& folder, const QString& suffix, bool replayOnly) {
    // A folder of its own with the sample log, and settings of its own, so that the pictures
    // show the program as it first starts, and no folder of this machine.
    QString home = QDir::temp().filePath("korvel");
    QDir(home).mkpath("Tracks");
    QFile::copy(QCoreApplication::applicationDirPath() + "/Tracks/sample.log",
                home + "/Tracks/sample.log");
    WindowApp app(home.toStdString(), FindSettings(home.toStdString(), home.toStdString()));
    MainWindow& window = app.window();
    MainForm& form = app.form();
    window.show();
    bool saved = replayOnly || save(window, folder + "/idle" + suffix + ".png");

    // The sample log replayed to UDP datagrams, which need nobody to listen.
    auto& ports = form.c.PortC.items;
    form.c.PortC.listIndex.set(
        static_cast<int>(std::find(ports.begin(), ports.end(), "UDP") - ports.begin()));
    form.c.File1.setPattern("sample.log");
    form.c.File1.listIndex = 0;
    form.File1_Click();
    wait(6000);
    saved = save(window, folder + "/replay" + suffix + ".png") && saved;
    form.StopReplay(StopReason::Stop);
    if (replayOnly)
        return saved;

    form.c.Manu.value.set(1);
    form.c.Skip1.onClick();
    wait(2500);
    saved = save(window, folder + "/manual" + suffix + ".png") && saved;
    form.c.StopA.onClick();
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: korvel_screenshots FOLDER\n";
        return 2;
    }
    QString folder = QDir(argv[1]).absolutePath();
    bool saved = shoot(folder, "", false);
    QFont large = QApplication::font();
    large.setPointSize(13);
    QApplication::setFont(large);
    saved = shoot(folder, "-13pt", true) && saved;
    return saved ? 0 : 1;
}
