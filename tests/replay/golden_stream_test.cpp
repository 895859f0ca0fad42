// Every file of the test-data folder replays as the stream written beside it, its first record
// with the first tick. A file's options, when it has any, stand beside it in NAME.options:
// "sentences=RMC,GGA,..." (the boxes checked; RMC, GGA and VTG otherwise), "same-time-pos",
// "autoskip", "autoreset", "talker=GN", "nmea=41".
#include "support/data_files.h"
#include "support/replay_fixture.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

const std::string kFolder = std::string(KORVEL_SOURCE_DIR) + "/tests/data/replay/";

class GoldenStream : public test::ReplayFixture, public testing::WithParamInterface<std::string> {
  protected:
    void applyOptions(const std::string& path) {
        std::istringstream words(fs::exists(path) ? test::ReadFile(path) : "");
        for (std::string word; words >> word;) {
            if (word.starts_with("sentences=")) {
                std::string chosen = "," + word.substr(10) + ",";
                for (CheckBox& box : c.Data)
                    box.value.set(chosen.find("," + box.caption + ",") != std::string::npos ? 1
                                                                                            : 0);
            } else if (word == "same-time-pos") {
                c.Equ.value.set(1);
            } else if (word == "autoskip") {
                c.AutoSkip.value.set(1);
            } else if (word == "autoreset") {
                c.AutoReset.value.set(1);
            } else if (word.starts_with("talker=")) {
                engine.options.style.talker = word.substr(7); // the command line's --talker
            } else if (word.starts_with("nmea=")) {
                engine.options.style.nmeaVersion = std::stoi(word.substr(5)); // and --nmea

            } else {
                FAIL() << "unknown option " << word << " in " << path;
            }
        }
    }
};

} // namespace

TEST_P(GoldenStream, SendsItsStream) {
    std::string path = kFolder + GetParam();
    applyOptions(path + ".options");
    click(path);
    // Whatever comes before the first record (headers, markup) costs no tick.
    tick();
    EXPECT_FALSE(platform.comm1.written.empty()) << "nothing sent by the first tick";
    runToEnd();
    EXPECT_FALSE(engine.active);
    EXPECT_EQ(platform.comm1.written, test::ReadFile(path + ".nmea-out"));
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenStream,
                         testing::ValuesIn(test::DataFiles(kFolder, ".nmea-out")),
                         test::DataFileTestName);
