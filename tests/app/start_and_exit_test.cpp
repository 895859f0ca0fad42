#include "app/profile_file.h"
#include "form/main_form.h"
#include "replay/step_pace.h"
#include "support/temp_folder.h"
#include "support/virtual_platform.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

using namespace korvel;
using korvel::test::ReadFile;
using korvel::test::TempFolder;

namespace {

class StartAndExit : public testing::Test {
  protected:
    std::string ini() const { return program.file("Korvel.ini"); }
    // A new start of the program, as the user would make it.
    MainForm& start() {
        form = std::make_unique<MainForm>(platform.platform, program.path(),
                                          FindSettings(program.path(), program.file("config")));
        form->Form_Load();
        return *form;
    }
    ProfileFile saved() const { return ProfileFile::load(ini()); }

    TempFolder program;
    test::VirtualPlatform platform;
    std::unique_ptr<MainForm> form;
};

} // namespace

TEST_F(StartAndExit, ExitSavesEverySettingAndTheNextStartRestoresIt) {
    MainForm& f = start();
    f.c.PortC.listIndex.set(2); // COM3
    f.c.TZdiff.setValue(-5);
    f.c.VSc1[0].setValue(-1);
    f.c.HSc1[0].setValue(-5);
    f.c.VSc2.setValue(1200);
    const long lat = f.manual().coordinateTenths(true), lon = f.manual().coordinateTenths(false);
    f.c.ENDE.onClick();
    EXPECT_EQ(platform.host.quits, 1);
    EXPECT_EQ(platform.comm1.commPort(), 3);

    std::string text = ReadFile(ini());
    EXPECT_NE(text.find("[Port]\nCOM= 2\nGPS-Port= 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Diff=-5\n"), std::string::npos) << text;
    EXPECT_NE(text.find("PosN0=-1\nPosE0=-5\nPosN1= 5\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Names"), std::string::npos) << "exit never writes the file pattern";

    MainForm& again = start();
    EXPECT_EQ(again.s.outputPortIndex, 2);
    EXPECT_EQ(again.c.TZdiff.value.get(), -5);
    EXPECT_EQ(again.manual().coordinateTenths(true), lat);
    EXPECT_EQ(again.manual().coordinateTenths(false), lon);
    EXPECT_EQ(again.c.VSc2.value.get(), 1200);
    // A position a tenth of a second south and west of 0 degrees keeps its hemispheres, though
    // its degrees bars stand at 0.
    again.manual().setCoordinateTenths(true, -1);
    again.manual().setCoordinateTenths(false, -5);
    again.c.ENDE.onClick();
    MainForm& third = start();
    EXPECT_EQ(third.manual().coordinateTenths(true), -1);
    EXPECT_EQ(third.manual().coordinateTenths(false), -5);
}

// The replay's choices come back as they were left; a file an older version wrote, without
// them, starts with the window's own. The file pattern is kept by Save alone, with what else
// the file holds.
TEST_F(StartAndExit, ExitKeepsTheReplayChoicesAndSaveTheFilePattern) {
    auto expectChoices = [](MainForm& f, size_t interval, std::array<int, 7> boxes, int loop,
                            int same) {
        for (size_t i = 0; i < f.c.Abstand.size(); ++i)
            EXPECT_EQ(f.c.Abstand[i].value.get(), i == interval) << f.c.Abstand[i].caption;
        EXPECT_EQ(f.engine().options.intervalMs,
                  IntervalOptionAt(static_cast<int>(interval)).periodMs);
        EXPECT_EQ(f.engine().step, IntervalOptionAt(static_cast<int>(interval)).step);
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(f.c.Data[i].value.get(), boxes[i]) << f.c.Data[i].caption;
            EXPECT_EQ(f.engine().options.sentences.has(static_cast<Sentence>(i)), boxes[i] == 1);
        }
        EXPECT_EQ(f.c.Lop.value.get(), loop);
        EXPECT_EQ(f.engine().options.loop, loop == 1);
        EXPECT_EQ(f.c.LoopL.visible, loop == 1);
        EXPECT_EQ(f.c.Equ.value.get(), same);
        EXPECT_EQ(f.engine().options.sameTimePosition, same == 1);
    };
    program.write("Korvel.ini", "[Port]\nCOM= 1\n[Files]\nNames=*.log\n[Mine]\nkept=yes\n");
    MainForm& f = start();
    expectChoices(f, 4, {1, 1, 1, 0, 0, 0, 0}, 0, 0);
    EXPECT_EQ(f.c.File1.pattern(), "*.log");
    SelectOption(f.c.Abstand, 1); // "x 4"
    f.c.Data[0].value.set(0);
    f.c.Data[5].value.set(1);
    f.c.Lop.value.set(1);
    f.c.Equ.value.set(1);
    f.c.File1.setPattern("*.trl;*.trk;*.plt");
    f.c.ENDE.onClick();
    EXPECT_EQ(saved().readString("Files", "Names", ""), "*.log");
    MainForm& again = start();
    expectChoices(again, 1, {0, 1, 1, 0, 0, 1, 0}, 1, 1);

    again.c.File1.setPattern("*.trl;*.trk;*.plt");
    again.c.SAVE.onClick();
    EXPECT_EQ(saved().readString("Files", "Names", ""), "*.trl;*.trk;*.plt");
    EXPECT_EQ(saved().readString("Mine", "kept", ""), "yes");
    EXPECT_EQ(again.c.focus, "ENDE");
}

TEST_F(StartAndExit, SettingsThatCannotBeReadAreNotReplaced) {
    program.write("Korvel.ini", "[Port]\nCOM=3\n");
    namespace fs = std::filesystem;
    {
        // Root's file, which this user may not read, in this user's folder.
        fs::permissions(ini(), fs::perms::owner_read | fs::perms::owner_write);
        test::GiveToAnotherUser(program.path()); // the user the lock makes this process
        test::UnwritableFolder asSomeoneElse(program.file("Tracks"));
        MainForm& f = start();
        ASSERT_EQ(platform.dialogs.messages.size(), 1u);
        EXPECT_NE(platform.dialogs.messages[0].text.find("Permission denied"), std::string::npos);
        f.c.ENDE.onClick();
        EXPECT_EQ(platform.host.quits, 0) << "the exit that cannot save stays open";
    }
    EXPECT_EQ(ReadFile(ini()), "[Port]\nCOM=3\n");
}

// The TCP server, which asks no password, serves this computer alone unless the LAN box or
// the settings say otherwise; the choice is kept, and a server listening moves at once.
TEST_F(StartAndExit, TheTcpServerServesTheNetworkOnlyWhenTold) {
    struct Case {
        const char* stored;  // TCPBind in the settings, nullptr for none
        const char* listens; // where the server listens after the start
        bool lan;            // the LAN box
        const char* toggled; // where it listens once the box is clicked
    } cases[] = {
        {nullptr, "127.0.0.1", false, "*"},
        {"*", "*", true, "127.0.0.1"},
        {"192.168.1.20", "192.168.1.20", true, "127.0.0.1"},
        {"::1", "::1", false, "*"},
    };
    for (const Case& c : cases) {
        std::string tcp = "[Port]\nCOM=23\n"; // the TCP entry of the port list
        program.write("Korvel.ini", c.stored ? tcp + "[Devices]\nTCPBind=" + c.stored + "\n" : tcp);
        MainForm& f = start();
        EXPECT_TRUE(f.c.TcpLan.visible);
        EXPECT_EQ(f.c.TcpLan.value.get(), c.lan ? 1 : 0) << c.listens;
        f.ports().StartTcpServer();
        EXPECT_EQ(platform.winsock.listenAddress, c.listens);
        f.c.TcpLan.value.set(c.lan ? 0 : 1);
        EXPECT_EQ(platform.winsock.listenAddress, c.toggled) << c.listens;
        f.c.ENDE.onClick();
        EXPECT_EQ(saved().readString("Devices", "TCPBind", ""), c.toggled);
        f.c.PortC.listIndex.set(0);
        EXPECT_FALSE(f.c.TcpLan.visible) << "a serial port has no network";
    }
}

// Settings in a folder another user could plant them in are not used: the user is told why at
// the start, the defaults apply, and the exit that cannot save says so and stays open.
TEST_F(StartAndExit, SettingsFolderRefusedIsSaidAndNothingIsSaved) {
    MainForm f(platform.platform, program.path(),
               {"", "", "/tmp/.config/korvel belongs to another user"});
    f.Form_Load();
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text,
              "The settings folder is not used (/tmp/.config/korvel belongs to another user): "
              "the defaults apply, and nothing is saved.");
    EXPECT_EQ(f.c.PortC.text(), "TCP");
    f.c.ENDE.onClick();
    ASSERT_EQ(platform.dialogs.messages.size(), 2u);
    EXPECT_EQ(platform.dialogs.messages[1].text,
              "The settings could not be saved: /tmp/.config/korvel belongs to another user");
    EXPECT_EQ(platform.host.quits, 0);
}
