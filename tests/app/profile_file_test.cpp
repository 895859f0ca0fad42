#include "app/profile_file.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvel;
using korvel::test::ReadFile;
using korvel::test::TempFolder;

TEST(ProfileFile, ReadsValuesByTheLeadingNumberRule) {
    ProfileFile profile = ProfileFile::parse("; written by hand\r\n"
                                             "[timezone]\r\n"
                                             "CET= 1\r\n"
                                             "diff=-5\r\n"
                                             "Empty=\r\n"
                                             "Word=abc\r\n"
                                             "Half=  3.7 hours\r\n"
                                             "Huge=99999999999999\r\n"
                                             "[Files]\r\n"
                                             "Path =  /home/user/tracks/  \r\n");
    struct Case {
        const char *section, *key;
        long value;
    } cases[] = {
        {"TimeZone", "CET", 1},      {"TIMEZONE", "Diff", -5}, {"TimeZone", "Empty", 0},
        {"TimeZone", "Word", 0},     {"TimeZone", "Half", 3},  {"TimeZone", "Huge", 2147483647},
        {"TimeZone", "Missing", 42}, {"Files", "CET", 42}, // another section's key does not count
    };
    for (const Case& c : cases)
        EXPECT_EQ(profile.readInt(c.section, c.key, 42), c.value) << c.key;
    EXPECT_EQ(profile.readString("files", "PATH", ""), "/home/user/tracks/");
}

TEST(ProfileFile, WriteKeepsEverythingElseOfTheFile) {
    TempFolder folder;
    std::string path = folder.write("Korvel.ini", "; my settings\n"
                                                  "[Port]\n"
                                                  "com= 0\n"
                                                  "Extra=kept\n"
                                                  "\n"
                                                  "[Other]\n"
                                                  "Key=value\n");
    ProfileFile profile = ProfileFile::load(path);
    profile.writeInt("Port", "COM", 2);
    profile.writeInt("Port", "GPS-Port", -2);
    profile.writeInt("TimeZone", "Diff", 0);
    std::string longPath = "/home/someone/with/a/rather/long/folder/name/for/tracks/";
    profile.writeString("Files", "Path", longPath);
    std::string error;
    ASSERT_TRUE(profile.save(path, error)) << error;

    EXPECT_EQ(ReadFile(path), "; my settings\n"
                              "[Port]\n"
                              "com= 2\n"
                              "Extra=kept\n"
                              "GPS-Port=-2\n"
                              "\n"
                              "[Other]\n"
                              "Key=value\n"
                              "[TimeZone]\n"
                              "Diff= 0\n"
                              "[Files]\n"
                              "Path=" +
                                  longPath + "\n");
    EXPECT_EQ(ProfileFile::load(path).readString("Files", "Path", ""),
              longPath); // not cut at 39 characters
    EXPECT_EQ(std::filesystem::directory_iterator(folder.path())->path(), path); // no leftovers
}

// Settings kept elsewhere through a symbolic link stay there, as private as they were: the
// link, relative or absolute, stays a link, its target takes the settings and keeps its mode.
TEST(ProfileFile, SavingWritesThroughALinkAndKeepsTheMode) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("dotfiles"));
    std::string target = folder.write("dotfiles/Korvel.ini", "[Port]\nCOM= 1\n");
    chmod(target.c_str(), 0600);
    for (const std::string& link : {std::string("../dotfiles/Korvel.ini"), target}) {
        std::filesystem::create_directory(folder.file("config"));
        std::string path = folder.file("config/Korvel.ini");
        std::filesystem::create_symlink(link, path);
        ProfileFile profile = ProfileFile::load(path);
        profile.writeInt("Port", "COM", 3);
        std::string error;
        ASSERT_TRUE(profile.save(path, error)) << error;

        EXPECT_TRUE(std::filesystem::is_symlink(path)) << link;
        EXPECT_EQ(ReadFile(target), "[Port]\nCOM= 3\n");
        struct stat status {};
        ASSERT_EQ(stat(target.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u) << link;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("dotfiles")), {}),
                  1); // no leftovers
        std::filesystem::remove_all(folder.file("config"));
    }
}

// Only a regular file of a settings file's size is read: a device, a FIFO nobody writes and a
// file too large are refused at once, with the reason.
TEST(ProfileFile, WhatIsNoSettingsFileIsRefusedAtOnce) {
    TempFolder folder;
    std::string fifo = folder.file("fifo.ini");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string large = folder.write("large.ini", std::string(ProfileFile::kLargest + 1, ';'));
    struct Case {
        std::string path;
        const char* why;
    } cases[] = {{"/dev/zero", "it is not a regular file"},
                 {fifo, "it is not a regular file"},
                 {folder.path(), "it is not a regular file"},
                 {large, "it is larger than 1 MiB"}};
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ProfileFile::read(c.path, error)) << c.path;
        EXPECT_EQ(error, c.path + ": " + c.why);
    }
    std::string error;
    std::string fits = folder.write("fits.ini", "[Port]\nCOM= 2\n" + std::string(4000, ';'));
    ASSERT_TRUE(ProfileFile::read(fits, error)) << error;
}
