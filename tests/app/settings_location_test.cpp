#include "app/settings_location.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvel;
using korvel::test::TempFolder;

TEST(SettingsLocation, UserFolderWhenTheProgramFolderIsReadOnly) {
    TempFolder program, home;
    chmod(home.path().c_str(), 0777); // the user's own folder
    std::string config = home.file("config/korvel");
    std::string shipped = program.write("Korvel.ini", "[Port]\nCOM= 2\n");
    SettingsLocation beside = FindSettings(program.path(), config);
    EXPECT_EQ(beside.writePath, shipped) << "a writable program folder keeps them beside it";
    EXPECT_FALSE(std::filesystem::exists(config));

    korvel::test::UnwritableFolder locked(program.path());
    SettingsLocation first = FindSettings(program.path(), config);
    EXPECT_EQ(first.readPath, shipped) << "settings beside the program apply until the first save";
    EXPECT_EQ(first.writePath, config + "/Korvel.ini");
    EXPECT_TRUE(std::filesystem::is_directory(config));

    std::ofstream(first.writePath) << "[Port]\nCOM= 5\n";
    SettingsLocation later = FindSettings(program.path(), config);
    EXPECT_EQ(later.readPath, first.writePath);
}

// An installed program, its folder read-only, keeps the logs and recordings in the user's data
// folder: made at the first start with the samples installed beside the program, and left as
// the user keeps it after that.
TEST(SettingsLocation, TracksInTheUsersDataFolderWhenTheProgramFolderIsReadOnly) {
    TempFolder prefix, home;
    chmod(home.path().c_str(), 0777); // the user's own folder
    std::filesystem::create_directories(prefix.file("bin"));
    std::filesystem::create_directories(prefix.file("share/korvel/Tracks"));
    prefix.write("share/korvel/Tracks/sample.log", "$GPRMC\r\n");
    std::string data = home.file("share/korvel");
    EXPECT_EQ(FindDataHome(prefix.file("bin"), data), prefix.file("bin")) << "writable: beside it";
    {
        korvel::test::UnwritableFolder locked(prefix.file("bin"));
        EXPECT_EQ(FindDataHome(prefix.file("bin"), data), data);
        EXPECT_EQ(korvel::test::ReadFile(data + "/Tracks/sample.log"), "$GPRMC\r\n");
        std::filesystem::remove(data + "/Tracks/sample.log");
        EXPECT_EQ(FindDataHome(prefix.file("bin"), data), data);
    }
    EXPECT_FALSE(std::filesystem::exists(data + "/Tracks/sample.log")) << "not copied again";
}
