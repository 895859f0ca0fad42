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
    // The track points GPSBabel reads from a file, as signed minutes of arc.
    std::vector<std::pair<double, double>> gpsbabelTrackPoints(const std::string& format,
                                                               const std::string& path) {
        std::string csv = program.file(fs::path(path).filename().string() + ".csv");
        std::string command =
            "gpsbabel -t -i " + format + " -f '" + path + "' -o unicsv -F '" + csv + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<std::pair<double, double>> points;
        std::vector<std::string> lines = test::ReadLines(csv);
        for (size_t i = 1; i < lines.size(); ++i) {
            std::vector<std::string> fields = SplitFields(lines[i]);
            if (fields.size() >= 3)
                points.push_back({Val(fields[1]) * 60, Val(fields[2]) * 60});
        }
        return points;
    }
    static void expectSamePoints(const std::vector<std::pair<double, double>>& sent,
                                 const std::vector<std::pair<double, double>>& read) {
        ASSERT_EQ(sent.size(), read.size());
        for (size_t i = 0; i < sent.size(); ++i)
            ASSERT_TRUE(std::abs(sent[i].first - read[i].first) < 0.0011 &&
                        std::abs(sent[i].second - read[i].second) < 0.0011)
                << "point " << i + 1 << ": " << sent[i].first << " " << sent[i].second
                << " against " << read[i].first << " " << read[i].second;
    }
    // The positions of the RMC sentences sent, as signed minutes of arc.
    std::vector<std::pair<double, double>> sentPoints() {
        std::vector<std::pair<double, double>> points;
        for (const std::string& line : sentLines())
            if (IsSentence(line, "RMC"))
                points.push_back(
                    {SignedMinutesOfArc(ExtractField(line, 3), ExtractField(line, 4)),
                     SignedMinutesOfArc(ExtractField(line, 5), ExtractField(line, 6))});
        return points;
    }
};

} // namespace

// GPSBabel turns a log of the project's own into OziExplorer and KML tracks: they replay the
// points GPSBabel reads from them.
TEST_F(TrackInterop, GpsbabelOziExplorerAndKmlTracksReplayTheirPositions) {
    std::string log = std::string(KORVEL_SOURCE_DIR) + "/Tracks/sample.log";
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
        runToEnd();
        std::vector<std::pair<double, double>> read = gpsbabelTrackPoints(format, out);
        EXPECT_GE(read.size(), 179u) << "all but the log's last fix";
        expectSamePoints(sentPoints(), read);
    }
}

// Every real track file of the corpus replays. Those GPSBabel reads replay the points it reads
// in their tracks, at the same places, in the same order; and so do the GPX files it writes
// of them, GPX 1.1 tracks and GPX 1.0 routes.
TEST_F(TrackInterop, EveryRealTrackFileReplaysThePointsGpsbabelReads) {
    int files = 0;
    const std::pair<const char*, const char*> folders[] = {
        {"plt", "ozi"}, {"kml", "kml"}, {"pcx", nullptr}, {"g7t", nullptr}};
    for (auto [folder, gpsbabelFormat] : folders) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(test::CorpusFolder() + "/" + folder, ec)) {
            std::string path = entry.path().string();
            SCOPED_TRACE(path);
            ++files;
            platform.comm1.written.clear();
            click(path);
            runToEnd();
            ASSERT_FALSE(engine.active) << "the replay did not end";
            std::vector<std::pair<double, double>> sent = sentPoints();
            // A UTM export and a file of waypoints alone hold no track point to replay.
            std::string name = entry.path().filename().string();
            if (name == "gpsbabel-expertgps.g7t" || name == "gpsbabel-gpsutil-1.pcx") {
                EXPECT_TRUE(sent.empty());
                EXPECT_EQ(c.List1.items.back(),
                          name.ends_with("g7t") ? "The G7To file holds no track point "
                                                  "Korvel can read."
                                                : "It is a tab-separated export: Korvel reads NMEA "
                                                  "logs and the track files of its list.");
                continue;
            }
            EXPECT_FALSE(sent.empty());
            if (!gpsbabelFormat)
                continue;
            std::vector<std::pair<double, double>> read = gpsbabelTrackPoints(gpsbabelFormat, path);
            // GPSBabel reads the line a KML file holds as a gx:Track's copy as a second track
            // (its GPX copy keeps both); the replay plays the track once.
            auto half = read.begin() + static_cast<long>(read.size() / 2);
            bool copied = std::equal(read.begin(), half, half, read.end());
            expectSamePoints(sent, copied ? decltype(read)(read.begin(), half) : read);
            for (const char* gpx : {"gpx -F", "gpx,gpxver=1.0 -x transform,rte=trk,del -F"}) {
                SCOPED_TRACE(gpx);
                std::string out = program.file("converted.gpx");
                std::string command = std::string("gpsbabel -t -i ") + gpsbabelFormat + " -f '" +
                                      path + "' -o " + gpx + " '" + out + "'";
                ASSERT_EQ(std::system(command.c_str()), 0) << command;
                platform.comm1.written.clear();
                click(out);
                runToEnd();
                expectSamePoints(sentPoints(), read);
            }
        }
    }
    if (files == 0)
        GTEST_SKIP() << "no corpus at " << test::CorpusFolder() << " (set KORVEL_CORPUS)";
}
