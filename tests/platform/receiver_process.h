// The simulated Garmin receiver run as a program on a pseudo-terminal of its own.
#pragma once

#include <QProcess>
#include <string>

namespace korvel::test {

class ReceiverProcess {
  public:
    explicit ReceiverProcess(const QStringList& arguments) {
        process.start(KORVEL_GARMIN_RECEIVER, arguments);
        if (process.waitForReadyRead(10000))
            device = process.readLine().trimmed().toStdString();
    }
    ~ReceiverProcess() {
        process.kill();
        process.waitForFinished();
    }
    QProcess process;
    std::string device; // the path of the pseudo-terminal's far end
};

} // namespace korvel::test
