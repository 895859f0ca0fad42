// The window's program ended by a signal, as a session that ends ends it.
#include "platform/run_until.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using test::RunUntil;

// SIGTERM closes the window as the user would: the link to its pseudo-terminal goes, the
// settings keep the window's size, the exit status is 0.
TEST(WindowSignal, SigtermClosesTheWindowAndRemovesItsLink) {
    test::TempFolder program;
    std::filesystem::create_directory(program.file("Tracks"));
    const std::string built = QFileInfo(KORVEL_BINARY).absolutePath().toStdString();
    for (const char* name : {"korvel", "korvel-window"})
        std::filesystem::copy_file(built + "/" + name, program.file(name));
    std::filesystem::copy_file(KORVEL_SOURCE_DIR "/Tracks/sample.log",
                               program.file("Tracks/sample.log"));
    const std::string link = program.file("gps0");
    program.write("Korvel.ini", "[Port]\nCOM= 24\n[Devices]\nPTY=" + link + "\n");

    QProcess window;
    window.start(QString::fromStdString(program.file("korvel")),
                 {QString::fromStdString(program.file("Tracks/sample.log"))});
    ASSERT_TRUE(RunUntil([&] { return std::filesystem::is_symlink(link); }, 20000))
        << "the replay opens the pseudo-terminal (PTY, the 25th port)";
    window.terminate();
    ASSERT_TRUE(window.waitForFinished(10000));
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(window.exitCode(), 0) << window.readAllStandardError().toStdString();
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_NE(test::ReadFile(program.file("Korvel.ini")).find("[Window]"), std::string::npos);
}
