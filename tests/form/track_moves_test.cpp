// Skip, Back, the seek on the record gauge and the segment jump move by the same points in
// every track format: the point the next tick sends is the one they name.
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "support/replay_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

// The folder holds one track in each format: 30 points in two segments, the second from point
// 16 on, point i at 10 degrees and i minutes north.
const std::string kFolder = std::string(KORVEL_SOURCE_DIR) + "/tests/data/moves/";
constexpr int kPoints = 30, kSecondSegment = 16;

class TrackMoves : public test::ReplayFixture {
  protected:
    // The number of the point the next tick sends, by its latitude.
    int nextPoint() {
        size_t before = sentLines().size();
        tick();
        std::vector<std::string> sent = sentLines();
        if (sent.size() <= before || !IsSentence(sent[before], "RMC"))
            return 0;
        return static_cast<int>(MinutesOfArc(ExtractField(sent[before], 3)) - 600 + 0.5);
    }
};

} // namespace

TEST_F(TrackMoves, EveryFormatMovesByItsPoints) {
    int files = 0;
    for (const auto& file : std::filesystem::directory_iterator(kFolder)) {
        SCOPED_TRACE(file.path().filename().string());
        ++files;
        click(file.path().string());
        ASSERT_EQ(engine.count, kPoints);
        EXPECT_TRUE(c.AutoSkip.enabled) << "the file has segments";
        EXPECT_EQ(nextPoint(), 1);
        EXPECT_EQ(nextPoint(), 2);
        c.Skip1.onClick(); // ten points on
        EXPECT_EQ(nextPoint(), 13);
        EXPECT_EQ(engine.index, 13);
        form.SeekRecord(20);
        EXPECT_EQ(nextPoint(), 21);
        c.Back.onClick(); // fifty back: the start
        EXPECT_EQ(nextPoint(), 1);
        EXPECT_EQ(engine.segments, 1);
        c.AutoSkip.onMouseDown(); // on to the next segment
        EXPECT_EQ(nextPoint(), kSecondSegment);
        EXPECT_EQ(engine.index, kSecondSegment);
        EXPECT_EQ(engine.segments, 2);
        form.SeekRecord(kPoints - 1);
        EXPECT_EQ(nextPoint(), kPoints);
        EXPECT_EQ(nextPoint(), 0) << "the end";
        EXPECT_FALSE(engine.active);
    }
    EXPECT_EQ(files, 5);
}
