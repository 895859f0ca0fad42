// A real NMEA consumer reads the stream: gpsd connects to the TCP server as a client, and what
// it reports is the fix the replayed log holds.
#include "gpsd_client.h"
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

    test::GpsdFix gpsd =
        test::FirstGpsdFix(QString("tcp://127.0.0.1:%1").arg(nmeaPort), app.program.path(), true);
    ASSERT_FALSE(gpsd.report.isEmpty()) << "gpsd reported no position:\n" << gpsd.log;
    QJsonObject fix = gpsd.report;
    EXPECT_NEAR(fix["lat"].toDouble(), 48 + 7.038 / 60, 1e-6);
    EXPECT_NEAR(fix["lon"].toDouble(), 11 + 31.0 / 60, 1e-6);
    EXPECT_TRUE(fix["time"].toString().startsWith("2025-12-15T12:00:0"))
        << fix["time"].toString().toStdString();
    EXPECT_NEAR(fix["altMSL"].toDouble(), 545.4, 1e-6);
}
