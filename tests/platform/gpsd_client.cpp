#include "gpsd_client.h"

#include "real_form.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTcpSocket>

namespace korvel::test {

GpsdFix FirstGpsdFix(const QString& source, const std::string& folder, bool withAltitude) {
    int port = FreePort();
    GpsdFix result;
    std::string log = folder + "/gpsd.log";
    QProcess gpsd;
    // gpsd complains that it finds no system bus; what it says is shown only on failure.
    gpsd.setProcessChannelMode(QProcess::MergedChannels);
    gpsd.setStandardOutputFile(QString::fromStdString(log));
    gpsd.start("gpsd", {"-N", "-n", "-S", QString::number(port), "-F",
                        QString::fromStdString(folder + "/gpsd.sock"), source});
    if (!gpsd.waitForStarted(5000)) {
        result.log = "gpsd does not start (the test set-up installs it)";
        return result;
    }
    QTcpSocket watch;
    RunUntil(
        [&] {
            if (watch.state() == QAbstractSocket::UnconnectedState)
                watch.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
            return watch.state() == QAbstractSocket::ConnectedState;
        },
        10000);
    watch.write("?WATCH={\"enable\":true,\"json\":true}\n");
    std::string pending;
    RunUntil(
        [&] {
            pending += watch.readAll().toStdString();
            for (size_t end; (end = pending.find('\n')) != std::string::npos;
                 pending.erase(0, end + 1)) {
                QJsonObject report =
                    QJsonDocument::fromJson(QByteArray::fromStdString(pending.substr(0, end)))
                        .object();
                // The first reports may hold only what the RMC says.
                if (report["class"] == "TPV" && report.contains("lat") &&
                    (!withAltitude || report.contains("altMSL")))
                    result.report = report;
            }
            return !result.report.isEmpty();
        },
        20000);
    gpsd.terminate();
    gpsd.waitForFinished(3000);
    result.log = ReadFile(log);
    return result;
}

} // namespace korvel::test
