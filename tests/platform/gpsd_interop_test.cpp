// A real NMEA consumer reads the stream: gpsd connects to the TCP server as a client, and what
// it reports is the fix the replayed log holds.
#include "real_form.h"
#include "replay/sentence.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace korvel;
using test::RunUntil;

TEST(GpsdInterop, GpsdReportsTheFixOfTheReplayedLog) {
    int nmeaPort = test::FreePort();
    int gpsdPort = test::FreePort();
    test::RealForm app("[Devices]\nTCP=" + std::to_string(nmeaPort) + "\n");
    app.choose("TCP");
    std::string log;
    for (int i = 0; i < 10; ++i) {
        std::string time = "12000" + std::to_string(i);
        log +=
            FrameSentence("GPRMC," + time + ",A,4807.038,N,01131.000,E,000.0,084.4,151225,,,A") +
            "\r\n" +
            FrameSentence("GPGGA," + time + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
            "\r\n";
    }
    app.form->s.replayInterval = 100;
    app.form->c.Lop.value.set(1);
    app.replay("fix.log", log);
    ASSERT_EQ(app.form->s.replayActive, 1);
    ASSERT_TRUE(app.form->c.TCPstat.visible);

    QProcess gpsd;
    // gpsd complains that it finds no system bus; what it says is shown only on failure.
    std::string gpsdLog = app.program.file("gpsd.log");
    gpsd.setProcessChannelMode(QProcess::MergedChannels);
    gpsd.setStandardOutputFile(QString::fromStdString(gpsdLog));
    gpsd.start("gpsd", {"-N", "-n", "-S", QString::number(gpsdPort), "-F",
                        QString::fromStdString(app.program.file("gpsd.sock")),
                        QString("tcp://127.0.0.1:%1").arg(nmeaPort)});
    ASSERT_TRUE(gpsd.waitForStarted(5000)) << "gpsd is installed by the test set-up";

    QTcpSocket watch;
    ASSERT_TRUE(RunUntil(
        [&] {
            if (watch.state() == QAbstractSocket::UnconnectedState)
                watch.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(gpsdPort));
            return watch.state() == QAbstractSocket::ConnectedState;
        },
        10000));
    watch.write("?WATCH={\"enable\":true,\"json\":true}\n");

    QJsonObject fix;
    std::string pending;
    bool reported = RunUntil(
        [&] {
            pending += watch.readAll().toStdString();
            for (size_t end; (end = pending.find('\n')) != std::string::npos;
                 pending.erase(0, end + 1)) {
                QJsonObject report =
                    QJsonDocument::fromJson(QByteArray::fromStdString(pending.substr(0, end)))
                        .object();
                // The first reports may hold only what the RMC says; wait for the GGA's altitude.
                if (report["class"] == "TPV" && report.contains("lat") && report.contains("altMSL"))
                    fix = report;
            }
            return !fix.isEmpty();
        },
        20000);
    gpsd.terminate();
    gpsd.waitForFinished(3000);
    ASSERT_TRUE(reported) << "gpsd reported no position:\n" << test::ReadFile(gpsdLog);
    EXPECT_NEAR(fix["lat"].toDouble(), 48 + 7.038 / 60, 1e-6);
    EXPECT_NEAR(fix["lon"].toDouble(), 11 + 31.0 / 60, 1e-6);
    EXPECT_TRUE(fix["time"].toString().startsWith("2025-12-15T12:00:0"))
        << fix["time"].toString().toStdString();
    EXPECT_NEAR(fix["altMSL"].toDouble(), 545.4, 1e-6);
}
