// "korvel download" as a user runs it, against the simulated receiver.
#include "cli/served_run.h"
#include "platform/receiver_process.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using test::ReceiverProcess;

namespace {

QString path(const test::TempFolder& folder, const std::string& name) {
    return QString::fromStdString(folder.file(name));
}

} // namespace

// A complete download is written and said; one whose name a folder took is kept beside it,
// said, and fails. Record 7 arrives damaged once: it is refused and taken again.
TEST(HeadlessDownload, CompleteDataIsWrittenOrKeptAndSaid) {
    struct Case {
        bool nameTaken; // a folder has the file's name
        int code;
        const char* file; // where the track is
        std::vector<std::string> says;
    } cases[] = {{false, 0, "walk.trk", {"Records: 41\n", "Transfer OK\n"}},
                 {true, 1, "walk.trk.new", {"it is kept as "}}};
    for (const Case& c : cases) {
        test::TempFolder folder;
        if (c.nameTaken)
            std::filesystem::create_directory(folder.file("walk.trk"));
        ReceiverProcess receiver(
            {"--points", "40", "--size", "13", "--damage", "7", "--expect", path(folder, "e.trk")});
        ASSERT_TRUE(receiver.device.starts_with("/dev/")) << receiver.device;
        test::Finished run = test::RunKorvel({"download", path(folder, "walk"), "--port",
                                              QString::fromStdString(receiver.device), "--ini",
                                              path(folder, "k.ini"), "--force"});
        EXPECT_EQ(run.code, c.code) << run.err;
        for (const std::string& said : c.says)
            EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
        // The receiver's points after the file's two header lines.
        std::string track = test::ReadFile(folder.file(c.file));
        size_t third = track.find("\r\n", track.find("\r\n") + 2) + 2;
        EXPECT_EQ(track.substr(third), test::ReadFile(folder.file("e.trk")));
        if (c.nameTaken) {
            EXPECT_NE(run.err.find(folder.file(c.file)), std::string::npos) << run.err;
            EXPECT_TRUE(std::filesystem::is_empty(folder.file("walk.trk")));
        }
    }
}

// Runs that cannot download fail with the reason and leave the file named as it was: a port
// that is not serial or cannot be opened, an existing file without --force (also when the name
// typed gets its ".trk" from the download), and with it a download with records missing.
TEST(HeadlessDownload, RefusedAndIncompleteRunsLeaveTheFileAsItWas) {
    test::TempFolder folder;
    std::string file = folder.write("walk.trk", "precious");
    ReceiverProcess receiver({"--points", "40", "--missing", "3"});
    const QString device = QString::fromStdString(receiver.device);
    struct Run {
        const char* name;
        QString port;
        QStringList options;
        int code;
        const char* says;
    } runs[] = {
        {"walk.trk", "TCP", {}, 2, "TCP"},
        {"walk.trk", "COM17", {}, 2, "COM17"},
        {"walk.trk", "/dev/korvel-no-such-port", {"--force"}, 1, "/dev/korvel-no-such-port"},
        {"walk.trk", device, {}, 1, "exists already"},
        {"walk", device, {}, 1, "walk.trk exists already"},
        {"walk.trk", device, {"--force"}, 1, "the receiver announced 44 records and sent 41"}};
    for (const Run& run : runs) {
        test::Finished ran =
            test::RunKorvel(QStringList{"download", path(folder, run.name), "--port", run.port,
                                        "--ini", path(folder, "k.ini")} +
                            run.options);
        EXPECT_EQ(ran.code, run.code) << ran.err;
        EXPECT_NE(ran.err.find(run.says), std::string::npos) << ran.err;
        EXPECT_EQ(test::ReadFile(file), "precious");
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"walk.trk"})) << run.name;
    }
}
