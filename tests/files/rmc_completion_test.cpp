#include "replay/sentence.h"
#include "support/replay_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
using test::Log;

namespace {

class RmcCompletion : public test::ReplayFixture {
  protected:
    void SetUp() override {
        checkAll(true);
        c.Data[6].value.set(0);
    }
};

const std::string kVtg = FrameSentence("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K");
std::string gga(const std::string& time) {
    return FrameSentence("GPGGA," + time + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
}

} // namespace

TEST_F(RmcCompletion, AnRmcBeforeEachGgaAfterTheFirstVtg) {
    std::vector<std::string> log = {gga("123518"), kVtg, gga("123519"), gga("123520")};
    load("gga.log", Log(log));
    ASSERT_TRUE(engine.active);
    std::string copy = engine.path;
    EXPECT_EQ(std::filesystem::path(copy).filename(), "gga.RMC");
    EXPECT_FALSE(std::filesystem::exists(program.file("Tracks/gga.RMC"))) << "beside the log";
    // The virtual clock's day: 6 December 2026.
    std::string rmc1 =
        FrameSentence("GPRMC,123519,A,4807.038,N,01131.000,E,005.5,054.7,061226,000.6,E");
    std::string rmc2 =
        FrameSentence("GPRMC,123520,A,4807.038,N,01131.000,E,005.5,054.7,061226,000.6,E");
    EXPECT_EQ(test::ReadFile(copy),
              Log({gga("123518"), kVtg, rmc1, gga("123519"), rmc2, gga("123520")}));
    EXPECT_EQ(c.Data[0].foreColor, kGrey);
    runToEnd();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(copy).parent_path()))
        << "the copy and its folder go when the replay stops";
    EXPECT_TRUE(std::filesystem::exists(program.file("Tracks/gga.log")));
}

TEST_F(RmcCompletion, ACopyThatCannotBeWrittenReturnsToIdle) {
    program.write("Tracks/ro.log", Log({gga("123518"), kVtg, gga("123519")}));
    {
        test::UnwritableFolder locked(program.file("Tracks"));
        std::string saved = getenv("TMPDIR") ? getenv("TMPDIR") : "";
        setenv("TMPDIR", program.file("Tracks").c_str(), 1);
        click(program.file("Tracks/ro.log"));
        saved.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", saved.c_str(), 1);
    }
    EXPECT_FALSE(engine.active);
    ASSERT_FALSE(platform.dialogs.messages.empty());
    EXPECT_NE(platform.dialogs.messages.back().text.find("cannot be written"), std::string::npos);
    EXPECT_TRUE(c.File1.enabled);
}
