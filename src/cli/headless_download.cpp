#include "cli/headless_download.h"

#include "garmin/track_download.h"
#include "platform/serial_port.h"
#include "text/conversions.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>

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

int RunDownload(SerialPort& port, Clock& clock, int savedPort, const RunOptions& o,
                const std::string& file, const std::atomic<bool>& stop) {
    int index = receiverPort(o.port, savedPort);
    if (index < 0) {
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
    // Running the command says the receiver is connected; a file that appears meanwhile is
    // replaced only with --force.
    if (std::filesystem::exists(path, ec) && !o.force) {
        std::cerr << "korvel: " << path.string()
                  << " exists already; --force replaces it once the download is complete\n";
        return 1;
    }

    QTimer watchdog;
    watchdog.setInterval(kDownloadWatchdogMs);
    std::optional<DownloadResult> result;
    TrackDownload download(port, clock,
                           {.listed =
                                [&](const std::string& line) {
                                    if (!o.quiet)
                                        std::cerr << "korvel: " << line << "\n";
                                },
                            .announced = {},
                            .pointsReceived = {},
                            .watch = [&](bool on) { on ? watchdog.start() : watchdog.stop(); },
                            .ended =
                                [&](const DownloadResult& end) {
                                    result = end;
                                    QCoreApplication::quit();
                                }});
    QObject::connect(&watchdog, &QTimer::timeout, [&] { download.timeout(); });
    port.onReceive = [&] { download.receive(); };
    if (std::optional<std::string> error = download.start(index + 1, path.string(), o.force)) {
        std::cerr << "korvel: " << *error << "\n";
        return 1;
    }
    if (!o.quiet && !result)
        std::cerr << "korvel: downloading the track log from COM" << index + 1 << " into "
                  << path.string() << "\n";
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (stop)
            download.stop("Download stopped: no file is written.");
    });
    watch.start(50);
    if (!result)
        QCoreApplication::exec();
    port.onReceive = nullptr;
    bool complete = result->end == DownloadResult::End::Complete;
    if (!o.quiet || !complete) {
        // A failure's message with what became of the file, on one line.
        std::string said = result->message.empty() ? result->line : result->message;
        std::replace(said.begin(), said.end(), '\n', ' ');
        std::cerr << "korvel: " << said << "\n";
    }
    return complete ? 0 : 1;
}

} // namespace korvel
