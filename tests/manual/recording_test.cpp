#include "replay/sentence.h"
#include "support/corpus.h"
#include "support/replay_fixture.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using test::ReadFile;

namespace {

constexpr int kUp = 38, kLeft = 37, kSpace = 32, kEnter = 13, kShift = 1;

class Recording : public test::ReplayFixture {
  protected:
    // Chooses the log by name, as the user types it.
    void chooseLog(const std::string& name) {
        platform.dialogs.inputs.push_back(name);
        c.SetFN.onClick();
    }
    void startManual() {
        c.Manu.value.set(1);
        c.Skip1.onClick();
        tick();
    }
    std::vector<std::string> logLines(const std::string& name) {
        return test::ReadLines(program.file("Tracks/" + name + ".log"));
    }
};

} // namespace

TEST_F(Recording, ARouteRecordedByHandReplaysItsPositions) {
    c.VSc4.setValue(0); // no Auto-Point
    c.Manu.value.set(1);
    chooseLog("route");
    EXPECT_EQ(c.FileL.toolTip, "Recording into " + program.file("Tracks/route.log"));
    c.Skip1.onClick();
    EXPECT_TRUE(c.SaveP.enabled);
    tick();
    form.Form_KeyDown(kSpace, 0);
    form.Form_KeyDown(kUp, kShift);
    tick();
    form.Form_KeyDown(kSpace, 0);
    form.Form_KeyDown(kLeft, kShift);
    tick();
    form.Form_KeyDown(kSpace, 0);
    platform.dialogs.inputs.push_back("turn here");
    form.Form_KeyDown(kEnter, 0);
    EXPECT_EQ(platform.dialogs.beeps, 4);

    // Each line is in the file at once, while the log is still open.
    std::vector<std::string> recorded = logLines("route");
    ASSERT_EQ(recorded.size(), 7u);
    EXPECT_EQ(recorded[0],
              FrameSentence("GPRMC,120002,A,4805.7450,N,01138.1950,E,027.0,,061226,,E"));
    EXPECT_EQ(recorded[1],
              FrameSentence("GPGGA,120002,4805.7450,N,01138.1950,E,1,12,1.5,550.0,M,46.8,M,,"));
    EXPECT_EQ(ExtractField(recorded[2], 1), "120004") << "2 s apart";
    EXPECT_EQ(recorded[6], FrameSentence("GPTXT,01,01,07,48.11242 N 011.61992 E \"turn here\""));
    c.Manu.value.set(0);
    // The log replays: its RMC sentences are its records, its marker leaves as it stands.
    load("route.log", ReadFile(program.file("Tracks/route.log")));
    EXPECT_EQ(engine.count, 3);
    EXPECT_TRUE(engine.active);
    runToEnd();
    std::vector<std::string> sent = sentLines();
    EXPECT_NE(std::find(sent.begin(), sent.end(), recorded[6]), sent.end());
}

TEST_F(Recording, AutoPointsBetweenThePreviousAndTheCurrentPosition) {
    c.VSc4.setValue(4); // "100 m"
    c.Manu.value.set(1);
    chooseLog("auto");
    c.Skip1.onClick();
    tick();
    c.SaveP.onClick();      // a fresh log: the first point alone
    c.VSc1[2].setValue(54); // 10 seconds north: 309 m, three steps of 100 m
    tick();
    EXPECT_EQ(form.manual().stream().lastLegDistance, 309);
    c.SaveP.onClick();
    std::vector<std::string> lines = logLines("auto");
    ASSERT_EQ(lines.size(), 8u);
    // A third and two thirds of the way, the first with 0.0001' more, then the current point.
    EXPECT_EQ(ExtractField(lines[2], 3) + "," + ExtractField(lines[2], 5), "4805.8007,01138.1951");
    EXPECT_EQ(ExtractField(lines[4], 3) + "," + ExtractField(lines[4], 5), "4805.8561,01138.1951");
    EXPECT_EQ(ExtractField(lines[6], 3), "4805.9117");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ExtractField(lines[2 * i], 1), ExtractField(lines[2 * i + 1], 1));
    EXPECT_EQ(ExtractField(lines[2], 1), "120004");
    EXPECT_EQ(ExtractField(lines[6], 1), "120008");
    EXPECT_EQ(ExtractField(lines[3], 2), "4805.8007") << "the GGA takes the RMC's position";
}

TEST_F(Recording, ExtendOrOverwriteAndNamesThatAreRefused) {
    program.write("Tracks/old.log", "kept\r\n");
    c.Manu.value.set(1);
    platform.dialogs.answers.push_back(MessageAnswer::No); // extend
    chooseLog("old");
    startManual();
    c.SaveP.onClick();
    std::vector<std::string> extended = logLines("old");
    ASSERT_EQ(extended.size(), 3u);
    EXPECT_EQ(extended[0], "kept");

    platform.dialogs.answers.push_back(MessageAnswer::Yes); // overwrite
    chooseLog("old");
    c.SaveP.onClick();
    EXPECT_EQ(logLines("old").size(), 2u);

    size_t messages = platform.dialogs.messages.size();
    for (const char* name : {"../outside", "sub/dir"}) {
        chooseLog(name);
        EXPECT_FALSE(c.SaveT.enabled) << name;
    }
    EXPECT_EQ(platform.dialogs.messages.size(), messages + 2);
    EXPECT_FALSE(std::filesystem::exists(program.file("outside.log")));

    std::filesystem::remove_all(program.file("Tracks"));
    chooseLog("nowhere");
    ASSERT_EQ(platform.dialogs.messages.size(), messages + 3);
    EXPECT_NE(platform.dialogs.messages.back().text.find("cannot be created"), std::string::npos);
    EXPECT_FALSE(c.SaveP.enabled);
}

TEST_F(Recording, AFullDiskIsReportedAndTheSimulationGoesOn) {
    c.VSc4.setValue(0);
    c.Manu.value.set(1);
    chooseLog("full");
    c.Skip1.onClick();
    tick();
    form.Form_KeyDown(kSpace, 0);
    size_t before = ReadFile(program.file("Tracks/full.log")).size();
    ASSERT_GT(before, 0u);
    // The log may grow by 30 bytes only: the disk fills in the middle of a record.
    test::AsOnAFullDisk(static_cast<off_t>(before) + 30, [&] {
        tick();
        form.Form_KeyDown(kSpace, 0);
    });

    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_NE(platform.dialogs.messages[0].text.find("File too large"), std::string::npos)
        << "the message names the reason";
    EXPECT_FALSE(c.SaveP.enabled) << "no more records are offered";
    EXPECT_EQ(ReadFile(program.file("Tracks/full.log")).size(), before)
        << "what was kept stays, and the record that did not fit is gone";
    size_t sent = platform.comm1.written.size();
    tick();
    EXPECT_GT(platform.comm1.written.size(), sent) << "the simulation goes on";
}
