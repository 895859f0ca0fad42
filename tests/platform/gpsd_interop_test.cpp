// A real NMEA consumer reads the stream: gpsd connects to the TCP server as a client, and what
// it reports is the fix the replayed log holds.
#include "real_outputs.h"
#include "replay/sentence.h"
#include "support/temp_folder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace korvel;
using test::RunUntil;

namespace {

struct GpsdFix {
    QJsonObject report; // empty when gpsd reported no position in time
    std::string log;    // what gpsd said, for a failure message
};

// Starts gpsd reading source (tcp://host:port), with its control socket and log in folder, and
// returns its first TPV report with a position and an altitude. The event loop runs
// meanwhile, so the stream goes on.
GpsdFix firstGpsdFix(const QString& source, const std::string& folder) {
    int port = test::FreePort();
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
    test::RunUntil(
        [&] {
            if (watch.state() == QAbstractSocket::UnconnectedState)
                watch.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
            return watch.state() == QAbstractSocket::ConnectedState;
        },
        10000);
    watch.write("?WATCH={\"enable\":true,\"json\":true}\n");
    std::string pending;
    test::RunUntil(
        [&] {
            pending += watch.readAll().toStdString();
            for (size_t end; (end = pending.find('\n')) != std::string::npos;
                 pending.erase(0, end + 1)) {
                QJsonObject report =
                    QJsonDocument::fromJson(QByteArray::fromStdString(pending.substr(0, end)))
                        .object();
                // The first reports may hold only what the RMC says.
                if (report["class"] == "TPV" && report.contains("lat") && report.contains("altMSL"))
                    result.report = report;
            }
            return !result.report.isEmpty();
        },
        20000);
    gpsd.terminate();
    gpsd.waitForFinished(3000);
    result.log = test::ReadFile(log);
    return result;
}

} // namespace

TEST(GpsdInterop, GpsdReportsTheFixOfTheReplayedLog) {
    int nmeaPort = test::FreePort();
    test::RealOutputs out("TCP=" + std::to_string(nmeaPort) + "\n", "TCP");
    ASSERT_FALSE(out.outputs.open());
    std::vector<std::string> log;
    for (int i = 0; i < 10; ++i) {
        std::string time = "12000" + std::to_string(i);
        log.push_back(
            FrameSentence("GPRMC," + time + ",A,4807.038,N,01131.000,E,000.0,084.4,151225,,,A"));
        log.push_back(
            FrameSentence("GPGGA," + time + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    }
    out.stream(log, 50);
    test::TempFolder folder;
    GpsdFix gpsd = firstGpsdFix(QString("tcp://127.0.0.1:%1").arg(nmeaPort), folder.path());
    ASSERT_FALSE(gpsd.report.isEmpty()) << "gpsd reported no position:\n" << gpsd.log;
    QJsonObject fix = gpsd.report;
    EXPECT_NEAR(fix["lat"].toDouble(), 48 + 7.038 / 60, 1e-6);
    EXPECT_NEAR(fix["lon"].toDouble(), 11 + 31.0 / 60, 1e-6);
    EXPECT_TRUE(fix["time"].toString().startsWith("2025-12-15T12:00:0"))
        << fix["time"].toString().toStdString();
    EXPECT_NEAR(fix["altMSL"].toDouble(), 545.4, 1e-6);
}
