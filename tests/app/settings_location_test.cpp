#include "app/settings_location.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvel;
using korvel::test::TempFolder;

TEST(SettingsLocation, UserFolderWhenTheProgramFolderIsReadOnly) {
    TempFolder program, home;
    // The own folder of the user that the lock below makes this process, when it is root.
    korvel::test::GiveToAnotherUser(home.path());
    std::string config = home.file("config/korvel");
    std::string shipped = program.write("Korvel.ini", "[Port]\nCOM= 2\n");

    korvel::test::UnwritableFolder locked(program.path());
    SettingsLocation first = FindSettings(program.path(), config);
    EXPECT_EQ(first.readPath, shipped) << "settings beside the program apply until the first save";
    EXPECT_EQ(first.writePath, config + "/Korvel.ini");
    ASSERT_EQ(MakeSettingsFolder(first), "");

    std::ofstream(first.writePath) << "[Port]\nCOM= 5\n";
    SettingsLocation later = FindSettings(program.path(), config);
    EXPECT_EQ(later.readPath, first.writePath);
}

// A program run from its build folder keeps the logs beside it while it may write there. An
// installed one keeps them in the user's data folder, root as every user (root may write
// anywhere), the window in libexec as the command in bin: made at the first start with the
// installed samples, and left as the user keeps it after that.
TEST(SettingsLocation, TracksInTheUsersDataFolderForAnInstalledProgram) {
    TempFolder build, prefix, home, lockedHome;
    // The own folder of the user that the lock below makes this process, when it is root.
    korvel::test::GiveToAnotherUser(lockedHome.path());
    EXPECT_EQ(FindDataHome(build.path(), home.file("data")), build.path()) << "a build folder";
    {
        korvel::test::UnwritableFolder locked(build.path());
        EXPECT_EQ(FindDataHome(build.path(), lockedHome.file("data")), lockedHome.file("data"))
            << "a build folder it cannot write";
    }

    std::string data = home.file("share/korvel");
    std::filesystem::create_directories(prefix.file("bin"));
    std::filesystem::create_directories(prefix.file("libexec/korvel"));
    std::filesystem::create_directories(prefix.file("share/korvel/Tracks"));
    prefix.write("share/korvel/Tracks/sample.log", "$GPRMC\r\n");
    for (const char* folder : {"bin", "libexec/korvel"}) {
        EXPECT_EQ(InstalledSamples(prefix.file(folder)), prefix.file("share/korvel/Tracks"));
        EXPECT_EQ(FindDataHome(prefix.file(folder), data), data) << folder;
        EXPECT_EQ(korvel::test::ReadFile(data + "/Tracks/sample.log"), "$GPRMC\r\n");
    }
    std::filesystem::remove(data + "/Tracks/sample.log");
    EXPECT_EQ(FindDataHome(prefix.file("bin"), data), data);
    EXPECT_FALSE(std::filesystem::exists(data + "/Tracks/sample.log")) << "not copied again";
    EXPECT_EQ(InstalledSamples(build.path()), "");
}

// An installed program writes its settings in the user's folder even where it could write
// its own (root), and makes that folder only when it saves.
TEST(SettingsLocation, AnInstalledProgramSavesInTheUsersFolder) {
    TempFolder prefix, home;
    std::filesystem::create_directories(prefix.file("share/korvel/Tracks"));
    std::filesystem::create_directories(prefix.file("bin"));
    std::string config = home.file("config/korvel");
    SettingsLocation found = FindSettings(prefix.file("bin"), config);
    EXPECT_EQ(found.writePath, config + "/Korvel.ini");
    EXPECT_EQ(found.refused, "");
    EXPECT_FALSE(std::filesystem::exists(config)) << "nothing saved, no folder made";
    EXPECT_EQ(MakeSettingsFolder(found), "");
    EXPECT_TRUE(std::filesystem::is_directory(config));
}

// Without a usable HOME the home is the system's record of it, never a shared folder such as
// /tmp where another user could have made ".config/korvel" first.
TEST(SettingsLocation, TheHomeIsTheUsersOwnWhenHomeNamesNone) {
    const passwd* me = getpwuid(geteuid());
    ASSERT_TRUE(me);
    std::string saved = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_CONFIG_HOME");
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative", "/no/such/home"}) {
        if (home)
            setenv("HOME", home, 1);
        else
            unsetenv("HOME");
        EXPECT_EQ(UserConfigFolder(), std::string(me->pw_dir) + "/.config/korvel")
            << (home ? home : "unset");
    }
    setenv("HOME", saved.c_str(), 1);
}

// Settings no one else can plant: a folder or a file that another user owns or may write is
// not used, and the user is told why; a folder of the user's own in a shared one is.
TEST(SettingsLocation, NoOneElseCanPlantSettings) {
    namespace fs = std::filesystem;
    TempFolder program, shared;
    if (!korvel::test::GiveToAnotherUser(program.path()))
        GTEST_SKIP() << "only root can make files of another user";
    chmod(shared.path().c_str(), 01777); // as /tmp
    auto other = [](const std::string& path) { korvel::test::GiveToAnotherUser(path); };
    auto folder = [](const std::string& path, mode_t mode) {
        fs::create_directories(path);
        chmod(path.c_str(), mode);
    };
    struct Case {
        const char* legend;
        std::function<void(const std::string& config)> plant;
        const char* refusal; // nullptr: used
    } cases[] = {
        {"the user's folder in a shared one", [](const std::string&) {}, nullptr},
        {"a folder another user made first",
         [&](const std::string& config) {
             folder(config, 0755);
             other(config);
         },
         "belongs to another user"},
        {"a folder above it that another user made",
         [&](const std::string& config) {
             folder(fs::path(config).parent_path(), 0755);
             other(fs::path(config).parent_path());
         },
         "belongs to another user"},
        {"a folder others may write", [&](const std::string& config) { folder(config, 0777); },
         "may be written by other users"},
        {"a settings file another user put there",
         [&](const std::string& config) {
             folder(config, 0700);
             std::ofstream(config + "/Korvel.ini") << "[Devices]\nUDP=203.0.113.9:10110\n";
             other(config + "/Korvel.ini");
         },
         "belongs to another user"},
        {"a link to another user's file",
         [&](const std::string& config) {
             folder(config, 0700);
             std::string planted =
                 shared.write("planted.ini", "[Devices]\nLPT1=/home/me/.bashrc\n");
             other(planted);
             fs::create_symlink(planted, config + "/Korvel.ini");
         },
         "belongs to another user"},
    };
    program.write("Korvel.ini", "[Port]\nCOM=3\n"); // in a folder that is not the user's
    int n = 0;
    for (const Case& c : cases) {
        std::string config = shared.file("home" + std::to_string(++n) + "/.config/korvel");
        c.plant(config);
        SettingsLocation found = FindSettings(program.path(), config);
        EXPECT_NE(found.readPath, program.file("Korvel.ini")) << c.legend;
        if (!c.refusal) {
            EXPECT_EQ(found.refused, "") << c.legend;
            EXPECT_EQ(found.writePath, config + "/Korvel.ini") << c.legend;
            EXPECT_EQ(MakeSettingsFolder(found), "") << c.legend;
            struct stat made {};
            stat(config.c_str(), &made);
            EXPECT_EQ(made.st_mode & 0777, 0700u) << "private to the user";
            continue;
        }
        EXPECT_NE(found.refused.find(c.refusal), std::string::npos)
            << c.legend << ": " << found.refused;
        EXPECT_EQ(found.readPath, "") << c.legend;
        EXPECT_EQ(found.writePath, "") << c.legend << ": nothing is saved there";
    }
}
