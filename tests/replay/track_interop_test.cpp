// Track files written by real programs: GPSBabel turns a log of the project's own into
// OziExplorer and KML tracks, and every real track file of the corpus loads and replays.
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "replay/track_record.h"
#include "support/corpus.h"
#include "support/replay_fixture.h"
#include "text/conversions.h"
#include "text/line_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

class TrackInterop : public test::ReplayFixture {
  protected:
    // The positions of the RMC sentences sent, as "ddmm.mmm,N,dddmm.mmm,E".
    std::vector<std::string> sentPositions() {
        std::vector<std::string> positions;
        for (const std::string& line : sentLines())
            if (IsSentence(line, "RMC"))
                positions.push_back(ExtractField(line, 3) + "," + ExtractField(line, 4) + "," +
                                    ExtractField(line, 5) + "," + ExtractField(line, 6));
        return positions;
    }
};

} // namespace

TEST_F(TrackInterop, GpsbabelOziExplorerAndKmlTracksReplayTheirPositions) {
    // The source: a log of the project's own, its positions in minutes of arc.
    std::string log = std::string(KORVEL_SOURCE_DIR) + "/Tracks/sample.log";
    std::vector<std::pair<double, double>> source;
    for (const std::string& line : test::ReadLines(log))
        if (IsSentence(line, "RMC"))
            source.push_back(
                {MinutesOfArc(ExtractField(line, 3)), MinutesOfArc(ExtractField(line, 5))});
    ASSERT_EQ(source.size(), 180u);
    // The sentences carry a thousandth of a minute; the files round the source a little too.
    auto near = [](std::pair<double, double> a, std::pair<double, double> b) {
        return std::abs(a.first - b.first) < 0.0011 && std::abs(a.second - b.second) < 0.0011;
    };

    for (const char* format : {"ozi", "kml"}) {
        SCOPED_TRACE(format);
        // GPSBabel names an OziExplorer track ".plt" whatever it is told.
        std::string out = program.file(std::string("Tracks/gpsbabel.") +
                                       (std::string(format) == "ozi" ? "plt" : "kml"));
        std::string command =
            "gpsbabel -i nmea -f '" + log + "' -o " + format + " -F '" + out + "'";
        ASSERT_EQ(std::system(command.c_str()), 0)
            << command << " (the test set-up installs gpsbabel)";
        platform.comm1.written.clear();
        click(out);
        EXPECT_EQ(s.trackFormat, std::string(format) == "ozi" ? "OziExplorer" : "KML");
        runToEnd();
        std::vector<std::pair<double, double>> sent;
        for (const std::string& line : sentLines())
            if (IsSentence(line, "RMC")) {
                EXPECT_EQ(ExtractField(line, 4) + ExtractField(line, 6), "NE") << line;
                sent.push_back(
                    {MinutesOfArc(ExtractField(line, 3)), MinutesOfArc(ExtractField(line, 5))});
            }
        ASSERT_GE(sent.size(), source.size() - 1);
        for (auto position : sent)
            EXPECT_TRUE(std::any_of(source.begin(), source.end(),
                                    [&](auto p) { return near(p, position); }))
                << position.first << " " << position.second;
        // GPSBabel leaves the log's last fix out of what it writes; every other one arrives.
        long covered = std::count_if(source.begin(), source.end(), [&](auto position) {
            return std::any_of(sent.begin(), sent.end(), [&](auto p) { return near(p, position); });
        });
        EXPECT_GE(covered, static_cast<long>(source.size()) - 1);
    }
}

TEST_F(TrackInterop, EveryRealTrackFileLoadsAndReplays) {
    int files = 0;
    for (const char* folder : {"plt", "kml", "pcx", "g7t"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(test::CorpusFolder() + "/" + folder, ec)) {
            std::string path = entry.path().string();
            SCOPED_TRACE(path);
            ++files;
            platform.comm1.written.clear();
            click(path);
            runToEnd();
            ASSERT_EQ(s.replayActive, 0) << "the replay did not end";
            if (std::string(folder) != "plt" && std::string(folder) != "kml")
                continue;
            // As many RMC sentences as the file holds points.
            std::vector<std::string> lines = test::ReadLines(path);
            std::string format = folder == std::string("plt") ? "OziExplorer" : "KML";
            long points = 0;
            for (size_t i = 0; i < lines.size(); ++i)
                points += IsTrackRecord(format, lines[i], static_cast<long>(i + 1), " ");
            long rmc = 0;
            for (const std::string& line : sentLines())
                rmc += IsSentence(line, "RMC");
            EXPECT_EQ(rmc, points);
        }
    }
    if (files == 0)
        GTEST_SKIP() << "no corpus at " << test::CorpusFolder() << " (set KORVEL_CORPUS)";
}
