// The inputs that once found faults, and hand-made hard cases, through the fuzzers' harnesses:
// each must run without a crash, a hang or a sanitizer report.
#include "fuzz/harnesses.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

TEST(FuzzRegressions, EveryKeptInputRunsThroughItsHarness) {
    const struct {
        const char* name;
        void (*run)(const std::uint8_t*, std::size_t);
    } harnesses[] = {{"ReplayLog", fuzz::ReplayLog},
                     {"ReplayTrack", fuzz::ReplayTrack},
                     {"ReceiveGarmin", fuzz::ReceiveGarmin},
                     {"ReadSettings", fuzz::ReadSettings},
                     {"CompleteRmc", fuzz::CompleteRmc}};
    for (const auto& harness : harnesses) {
        fs::path folder = fs::path(KORVEL_SOURCE_DIR) / "fuzz" / "regressions" / harness.name;
        int inputs = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            std::string bytes = test::ReadFile(entry.path().string());
            harness.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++inputs;
        }
        EXPECT_GT(inputs, 0) << harness.name << " has no inputs kept";
    }
}
