#include "replay/load_tally.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace korvel;

namespace {

LoadTally tallyOf(const std::vector<unsigned>& lines, size_t from, size_t to) {
    LoadTally tally;
    for (size_t i = from; i < to; ++i) {
        tally.logLine(lines[i]);
        tally.trackPoints += lines[i] & 1;
        tally.segmentLines = tally.segmentLines || lines[i] == 8;
        tally.curve.add(static_cast<double>(lines[i]), 0);
    }
    return tally;
}

} // namespace

TEST(LoadTally, StretchesJoinedInOrderCountAsTheWholeFile) {
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        // Logs where RMC sentences come late or never, as well as ordinary ones.
        std::vector<unsigned> lines(random() % 40);
        unsigned rmcFrom = static_cast<unsigned>(random() % 50);
        for (size_t i = 0; i < lines.size(); ++i)
            lines[i] = static_cast<unsigned>(random() % 9) & (i >= rmcFrom ? 15u : 14u);
        LoadTally whole = tallyOf(lines, 0, lines.size());
        for (size_t split = 0; split <= lines.size(); ++split) {
            // Three stretches, joined one after the other as the load joins them.
            size_t later = (split + lines.size()) / 2;
            LoadTally joined = tallyOf(lines, 0, split);
            joined.append(tallyOf(lines, split, later), true);
            joined.append(tallyOf(lines, later, lines.size()), true);
            ASSERT_EQ(joined.logRecords(), whole.logRecords()) << "round " << round;
            EXPECT_EQ(joined.rmcLines, whole.rmcLines);
            EXPECT_EQ(joined.trackPoints, whole.trackPoints);
            EXPECT_EQ(std::tuple(joined.rmc, joined.gga, joined.vtg, joined.segmentLines),
                      std::tuple(whole.rmc, whole.gga, whole.vtg, whole.segmentLines));
            EXPECT_EQ(joined.curve.points(), whole.curve.points());
            LoadTally withoutCurve = tallyOf(lines, 0, split);
            withoutCurve.append(tallyOf(lines, split, lines.size()), false);
            EXPECT_EQ(withoutCurve.curve.points(), static_cast<long>(split));
        }
    }
}
