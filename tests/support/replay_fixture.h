// A program folder with a "Tracks" folder, a started form on virtual time, and a log loaded
// as the user loads it: by clicking it in the file list. Sentences leave through COM1, whose
// test double keeps every byte.
#pragma once

#include "form/main_form.h"
#include "support/temp_folder.h"
#include "support/virtual_platform.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace korvel::test {

class ReplayFixture : public testing::Test {
  protected:
    ReplayFixture();

    // Writes a file into "Tracks" and clicks it.
    void load(const std::string& name, const std::string& content);
    // Clicks a file already in the data folder (or an absolute path's file).
    void click(const std::string& path);
    // Runs virtual time up to and including the next replay tick.
    void tick();
    // Runs virtual time until the replay stops (or limitMs passed).
    void runToEnd(std::int64_t limitMs = 1'000'000'000);
    // The sentences sent so far, each without its CR LF; fails on a sentence without one.
    std::vector<std::string> sentLines() const;
    void checkAll(bool on);

    TempFolder program;
    VirtualPlatform platform;
    std::unique_ptr<MainForm> owned;
    MainForm& form;
    Controls& c;
    FormState& s;
    ReplayEngine& engine;
};

// CR LF joined lines: a log as a receiver writes it.
std::string Log(const std::vector<std::string>& lines);
// The RMC of a log's record: the record's number of seconds as its time, the same position.
std::string Rmc(int record);

} // namespace korvel::test
