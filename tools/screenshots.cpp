// korvel_screenshots FOLDER: the window as a user sees it, saved as PNG pictures in FOLDER:
// idle, replaying the sample log, and in manual mode. tools/screenshots runs it under Xvfb.
#include "ui/window_app.h"

#include <QApplication>
#include <QDir>
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

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: korvel_screenshots FOLDER\n";
        return 2;
    }
    QString folder = QDir(argv[1]).absolutePath();
    std::string program = QCoreApplication::applicationDirPath().toStdString();
    // Settings of its own, so that the pictures show the program as it first starts.
    QString config = QDir::temp().filePath("korvel-screenshots");
    WindowApp app(program, FindSettings(config.toStdString(), config.toStdString()));
    MainWindow& window = app.window();
    MainForm& form = app.form();
    window.resize(1024, 700);
    window.show();
    bool saved = save(window, folder + "/idle.png");

    // The sample log replayed to UDP datagrams, which need nobody to listen.
    auto& ports = form.c.PortC.items;
    form.c.PortC.listIndex.set(
        static_cast<int>(std::find(ports.begin(), ports.end(), "UDP") - ports.begin()));
    form.c.File1.setPattern("sample.log");
    form.c.File1.listIndex = 0;
    form.File1_Click();
    wait(6000);
    saved = save(window, folder + "/replay.png") && saved;

    form.StopReplay(1);
    form.c.Manu.value.set(1);
    form.Skip1_Click();
    wait(2500);
    saved = save(window, folder + "/manual.png") && saved;
    form.StopA_Click();
    return saved ? 0 : 1;
}
