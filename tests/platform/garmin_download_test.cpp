// A download from the simulated receiver at the far end of a pseudo-terminal, through the
// program's own serial port, and a replay of the file it wrote.
#include "real_form.h"
#include "receiver_process.h"
#include "support/garmin_receiver.h"

#include <QProcess>
#include <QRegularExpression>
#include <filesystem>

using namespace korvel;
using test::ReceiverProcess;
using test::RunUntil;

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        all.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return all;
}

void startDownload(test::RealForm& app, const std::string& name) {
    app.form->c.Dir1.path.set(app.program.file("Tracks"));
    app.form->c.DownloadC.onClick();
    app.form->c.PortC.listIndex.set(2); // COM3
    app.form->c.FileT.text.set(name);
    app.form->c.LOA.onClick();
}

} // namespace

TEST(GarminDownload, FromAReceiverOnAPseudoTerminalToAReplay) {
    test::TempFolder scratch;
    std::string expectedFile = scratch.file("expected.trk");
    ReceiverProcess receiver({"--points", "60", "--expect", QString::fromStdString(expectedFile)});
    ASSERT_TRUE(receiver.device.starts_with("/dev/")) << receiver.device;
    test::RealForm app("[Devices]\nCOM3=" + receiver.device + "\n");
    startDownload(app, "walk");
    ASSERT_TRUE(app.platform->comm2.isOpen());
    EXPECT_TRUE(RunUntil([&] { return app.form->s.downloadMode == 0; }, 90000));
    ASSERT_FALSE(app.form->c.List1.items.empty());
    EXPECT_EQ(app.form->c.List1.items.back(), "Transfer OK");
    ASSERT_EQ(app.dialogs.messages.size(), 1u) << app.dialogs.messages.back().text;

    // The receiver tells what it sent: every record, and DLE bytes inside them.
    receiver.process.waitForFinished(10000);
    ASSERT_EQ(receiver.process.state(), QProcess::NotRunning);
    EXPECT_EQ(receiver.process.exitCode(), 0);
    QString summary = receiver.process.readAllStandardOutput();
    QRegularExpressionMatch counts =
        QRegularExpression("(\\d+) records, (\\d+) doubled DLE").match(summary);
    ASSERT_TRUE(counts.hasMatch()) << summary.toStdString();
    EXPECT_EQ(counts.captured(1).toInt(), 61);
    EXPECT_GT(counts.captured(2).toInt(), 0);
    EXPECT_EQ(app.form->c.Gauge2.max, 61);

    std::vector<std::string> got = lines(test::ReadFile(app.program.file("Tracks/walk.trk")));
    std::vector<std::string> expected = lines(test::ReadFile(expectedFile));
    ASSERT_EQ(got.size(), expected.size() + 2);
    EXPECT_EQ(got[0], std::string("I Korvel V") + KORVEL_VERSION);
    EXPECT_TRUE(QRegularExpression("^# \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d  Local Time$")
                    .match(QString::fromStdString(got[1]))
                    .hasMatch())
        << got[1];
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(got[i + 2], expected[i]) << "line " << i + 3;

    // The file replays as a track of this program's own format.
    app.form->s.ptyLink = app.program.file("gps");
    app.choose("PTY");
    std::vector<std::string> sentences;
    app.form->onSentenceSent = [&](const std::string& s) { sentences.push_back(s); };
    app.form->s.replayInterval = 50;
    app.form->c.File1.setPattern("walk.trk");
    app.form->c.File1.listIndex = 0;
    app.form->File1_Click();
    EXPECT_EQ(app.form->s.trackFormat, "Korvel");
    EXPECT_EQ(app.form->s.replayActive, 1);
    EXPECT_TRUE(RunUntil([&] { return sentences.size() >= 3; }));
    ASSERT_FALSE(sentences.empty());
    EXPECT_NE(sentences[0].find(",5230.000,N,01315.000,E,"), std::string::npos) << sentences[0];
    app.form->StopReplay(1);
}

TEST(GarminDownload, AReceiverThatFallsSilent) {
    ReceiverProcess receiver({"--points", "100", "--silent-after", "30"});
    ASSERT_TRUE(receiver.device.starts_with("/dev/")) << receiver.device;
    test::RealForm app("[Devices]\nCOM3=" + receiver.device + "\n");
    startDownload(app, "walk");
    std::string file = app.program.file("Tracks/walk.trk");
    EXPECT_TRUE(RunUntil([&] { return app.form->c.Gauge2.value == 30; }, 30000));
    EXPECT_FALSE(std::filesystem::exists(file)) << "not before the transfer is complete";
    EXPECT_TRUE(RunUntil([&] { return app.form->s.downloadMode == 0; }, 10000));
    ASSERT_EQ(app.dialogs.messages.size(), 2u);
    EXPECT_EQ(app.dialogs.messages[1].text, "GPS-Timeout\n(ComPort=3?)");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(app.platform->comm2.isOpen());
    EXPECT_TRUE(app.form->c.LOA.enabled && app.form->c.DownloadC.enabled);
    EXPECT_EQ(app.form->c.PortC.items.size(), 26u);
}
