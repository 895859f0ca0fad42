#include "cli/headless_download.h"

#include "text/conversions.h"

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <iostream>

namespace korvel {

namespace {

// The receiver's port as an index of the port list: a device path stands for COM1.
int receiverPort(const std::string& port, int saved) {
    if (port.empty())
        return saved;
    if (port.starts_with("/"))
        return 0;
    int number = Left(port, 3) == "COM" ? ToInt(Val(Mid(port, 4))) : 0;
    return number >= 1 && number <= 16 && port == "COM" + std::to_string(number) ? number - 1 : -1;
}

} // namespace

int RunDownload(MainForm& form, ConsoleDialogs& dialogs, const RunOptions& o,
                const std::string& file, const std::atomic<bool>& stop) {
    int port = receiverPort(o.port, form.s.garminPortIndex);
    if (port < 0) {
        std::cerr << "korvel: a download needs a serial port (COM1..COM16 or a device path), not "
                  << o.port << "\n";
        return 2;
    }
    std::filesystem::path named = std::filesystem::absolute(file);
    std::filesystem::path path = named.parent_path() / DownloadFileName(named.filename().string());
    std::error_code ec;
    if (!std::filesystem::is_directory(path.parent_path(), ec)) {
        std::cerr << "korvel: there is no folder " << path.parent_path().string() << "\n";
        return 1;
    }
    if (std::filesystem::exists(path, ec) && !o.force) {
        std::cerr << "korvel: " << path.string()
                  << " exists already; --force replaces it once the download is complete\n";
        return 1;
    }
    form.c.Dir1.path.set(path.parent_path().string());
    // Running the command says the receiver is connected; a file that appears meanwhile is
    // replaced only with --force.
    dialogs.answerQuestions(true);
    form.StartDownloadDialog();
    dialogs.answerQuestions(o.force);
    form.c.PortC.listIndex.set(port);
    form.c.FileT.text.set(path.filename().string());
    form.StartDownload();
    if (!form.c.Timer3.enabled())
        return 1; // the form has said why
    if (!o.quiet)
        std::cerr << "korvel: downloading the track log from COM" << form.s.garminPortIndex + 1
                  << " into " << form.s.replayFilePath << "\n";

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (stop)
            form.CancelDownload("Download stopped: no file is written.");
        if (form.s.downloadMode == 0)
            QCoreApplication::quit();
    });
    watch.start(50);
    QCoreApplication::exec();

    const std::vector<std::string>& items = form.c.List1.items;
    bool done = !items.empty() && items.back() == "Transfer OK";
    if (!o.quiet && done)
        for (const std::string& item : items)
            std::cerr << "korvel: " << item << "\n";
    // A failure of the download has been told in a message; a stop is told here.
    if (!done && stop && !items.empty())
        std::cerr << "korvel: " << items.back() << "\n";
    return done ? 0 : 1;
}

} // namespace korvel
