#include "replay/sentence.h"
#include "support/replay_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

class RenameDelete : public test::ReplayFixture {
  protected:
    void SetUp() override {
        program.write("Tracks/track.trk", "T\r\n");
        program.write("Tracks/tour.log", "$GPRMC\r\n");
        c.Dir1.path.set(program.file("Tracks"));
        c.File1.setPattern("*");
    }
    // The user holds the button on a file for longer than a second, then lets go.
    void longPress(const std::string& name) {
        c.File1.listIndex = static_cast<int>(
            std::find(c.File1.items.begin(), c.File1.items.end(), name) - c.File1.items.begin());
        c.File1.onMouseDown(kLeftButton);
        platform.clock.advance(1000);
        c.File1.onClick();
    }
};

} // namespace

TEST_F(RenameDelete, RenameNeverReplacesAnotherFileOrLeavesTheFolder) {
    longPress("track.trk");
    c.MRen.onClick();
    for (const char* name : {"tour.log", "../track.trk", ""}) {
        c.FileT.text.set(name);
        form.files().FileT_KeyDown(13);
    }
    EXPECT_EQ(platform.dialogs.messages.size(), 3u);
    EXPECT_EQ(test::ReadFile(program.file("Tracks/tour.log")), "$GPRMC\r\n");
    EXPECT_TRUE(fs::exists(program.file("Tracks/track.trk")));
    EXPECT_FALSE(fs::exists(program.file("track.trk")));
    c.FileT.text.set("kept");
    form.files().FileT_KeyDown(13);
    EXPECT_TRUE(fs::exists(program.file("Tracks/kept"))) << "a name without extension keeps none";
    EXPECT_FALSE(fs::exists(program.file("Tracks/track.trk")));
}

// Delete asks first: No leaves the file, Yes removes it and the list no longer shows it.
TEST_F(RenameDelete, DeleteAsksFirst) {
    platform.dialogs.answers.push_back(MessageAnswer::No);
    longPress("track.trk");
    c.MDel.onClick();
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text, "Delete track.trk ?");
    EXPECT_TRUE(fs::exists(program.file("Tracks/track.trk")));
    platform.dialogs.answers.push_back(MessageAnswer::Yes);
    longPress("track.trk");
    c.MDel.onClick();
    EXPECT_FALSE(fs::exists(program.file("Tracks/track.trk")));
    EXPECT_EQ(c.File1.items, (std::vector<std::string>{"tour.log"}));
}
