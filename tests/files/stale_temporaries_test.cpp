// What a killed run left beside a download and in the temporary folder goes at the next start,
// and only that.
#include "files/pending_file.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvel;

TEST(StaleTemporaries, WhatAProcessThatHasGoneLeftIsRemoved) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0); // gone for good
    std::string gone = std::to_string(child), alive = std::to_string(getppid()),
                own = std::to_string(getpid());
    test::TempFolder folder;
    for (const std::string& name :
         {"walk.trk.korvel-" + gone + "-a1B2c3", "walk.trk.korvel-" + alive + "-a1B2c3",
          "walk.trk.korvel-" + own + "-a1B2c3", "walk.trk.korvel-" + gone + "-short",
          "walkkorvel-" + gone + "-a1B2c3", std::string("korvel-gps0"), std::string("walk.trk")})
        folder.write(name, "data");
    std::filesystem::create_directory(folder.file("korvel-" + gone + "-XyZ123"));
    folder.write("korvel-" + gone + "-XyZ123/standard-input.log", "$GPRMC");

    RemoveStaleTemporaries(folder.path());
    std::vector<std::string> kept{"korvel-gps0",
                                  "walk.trk",
                                  "walk.trk.korvel-" + alive + "-a1B2c3",
                                  "walk.trk.korvel-" + own + "-a1B2c3",
                                  "walk.trk.korvel-" + gone + "-short",
                                  "walkkorvel-" + gone + "-a1B2c3"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folder.names(), kept);
}
