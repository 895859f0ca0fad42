// "korvel download" as a user runs it, against the simulated receiver.
#include "platform/receiver_process.h"
#include "support/temp_folder.h"

#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using test::ReceiverProcess;

namespace {

QString path(const test::TempFolder& folder, const std::string& name) {
    return QString::fromStdString(folder.file(name));
}

} // namespace

TEST(HeadlessDownload, WritesTheTrackLogAndSaysSo) {
    test::TempFolder folder;
    ReceiverProcess receiver({"--points", "40", "--size", "13", "--expect", path(folder, "e.trk")});
    ASSERT_TRUE(receiver.device.starts_with("/dev/")) << receiver.device;
    QProcess korvel;
    korvel.start(KORVEL_BINARY,
                 {"download", path(folder, "walk"), "--port",
                  QString::fromStdString(receiver.device), "--ini", path(folder, "k.ini")});
    ASSERT_TRUE(korvel.waitForFinished(60000));
    std::string err = korvel.readAllStandardError().toStdString();
    EXPECT_EQ(korvel.exitCode(), 0) << err;
    EXPECT_NE(err.find("Records: 41\n"), std::string::npos) << err;
    EXPECT_NE(err.find("Transfer OK\n"), std::string::npos) << err;
    std::string track = test::ReadFile(folder.file("walk.trk"));
    size_t third = track.find("\r\n", track.find("\r\n") + 2) + 2;
    EXPECT_EQ(track.substr(third), test::ReadFile(folder.file("e.trk")));
}

TEST(HeadlessDownload, SigtermLeavesNoPartialFile) {
    test::TempFolder folder;
    ReceiverProcess receiver({"--points", "3000"});
    QProcess korvel;
    korvel.start(KORVEL_BINARY,
                 {"download", path(folder, "walk.trk"), "--port",
                  QString::fromStdString(receiver.device), "--ini", path(folder, "k.ini")});
    std::string file = folder.file("walk.trk");
    // Once points arrive, the file has grown past its header and product lines.
    auto size = [&file] {
        std::error_code ec;
        auto bytes = std::filesystem::file_size(file, ec);
        return ec ? 0 : bytes;
    };
    for (int waited = 0; waited < 200 && size() < 300; ++waited)
        korvel.waitForFinished(50);
    ASSERT_EQ(korvel.state(), QProcess::Running);
    korvel.terminate();
    ASSERT_TRUE(korvel.waitForFinished(10000));
    EXPECT_EQ(korvel.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(korvel.exitCode(), 0) << "the download did not complete";
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(HeadlessDownload, APortThatIsNotSerialOrCannotBeOpened) {
    test::TempFolder folder;
    struct Case {
        QString port;
        int code;
    } cases[] = {{"TCP", 2}, {"COM17", 2}, {"/dev/korvel-no-such-port", 1}};
    for (const Case& c : cases) {
        QProcess korvel;
        korvel.start(KORVEL_BINARY, {"download", path(folder, "walk"), "--port", c.port, "--ini",
                                     path(folder, "k.ini")});
        ASSERT_TRUE(korvel.waitForFinished(10000));
        EXPECT_EQ(korvel.exitCode(), c.code) << c.port.toStdString();
        EXPECT_FALSE(korvel.readAllStandardError().isEmpty());
        EXPECT_FALSE(std::filesystem::exists(folder.file("walk.trk")));
    }
}
