#include "output/sentence_time.h"
#include "replay/sentence.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

// 8 December 2026, 10:00:00 UTC.
constexpr std::int64_t kNow = 1796724000;
constexpr std::int64_t k19940323 = 8847; // days since 1970

} // namespace

TEST(SentenceTime, TimesAndDatesOfEveryKind) {
    struct Case {
        const char* body;
        std::int64_t seconds; // -1: no time
        bool dated;
        int millis = 0;
    } cases[] = {
        {"GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
         k19940323 * 86400 + 45319, true},
        {"GNRMC,123519.75,A,4807.038,N,01131.000,E,,,230394,,", k19940323 * 86400 + 45319, true,
         750},
        {"GPRMC,123519,A,4807.038,N,01131.000,E,,,,,", 45319, false}, // no date: a time only
        {"GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", 45319, false},
        {"GPGLL,4916.45,N,12311.12,W,225444,A", 82484, false},
        {"GNGNS,123519.50,4807.038,N,01131.000,E,AA,12,0.9,545.4,46.9,,,V", 45319, false, 500},
        {"GPGST,123519,1.2,0.8,0.6,36.0,0.8,0.6,1.5", 45319, false},
        {"GPZDA,201530.00,04,07,2002,00,00", 11872 * 86400 + 72930, true},
        {"GPRMC,,V,,,,,,,,,", -1, false},
        {"GPRMC,246000,A,4807.038,N,01131.000,E,,,230394,,", -1, false},
        {"GPGSV,1,1,00", -1, false},
    };
    for (const Case& c : cases) {
        std::optional<SentenceTime> t = TimeOf(FrameSentence(c.body));
        EXPECT_EQ(t.has_value(), c.seconds >= 0) << c.body;
        if (t) {
            EXPECT_EQ(t->seconds, c.seconds) << c.body;
            EXPECT_EQ(t->dated, c.dated) << c.body;
            EXPECT_EQ(t->millis, c.millis) << c.body;
        }
    }
}

// A log moved to now: the first record is now, the spacing stays, midnight and the new year
// are crossed with the date; fractions, widths and the sentences without time stay.
TEST(SentenceTime, ALogMovedToNow) {
    struct Step {
        const char *in, *out;
    };
    const std::vector<std::vector<Step>> logs = {
        {{"GPRMC,235959.50,A,4807.038,N,01131.000,E,,,311299,,",
          "GPRMC,100000.50,A,4807.038,N,01131.000,E,,,081226,,"},
         {"GPGGA,235959.50,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
          "GPGGA,100000.50,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"},
         {"GPGSV,1,1,00", "GPGSV,1,1,00"},
         {"GNGBS,235959.50,1.2,0.8,2.1,,,,", "GNGBS,100000.50,1.2,0.8,2.1,,,,"},
         {"GPRMC,000001,A,4807.038,N,01131.000,E,,,010100,,",
          "GPRMC,100002,A,4807.038,N,01131.000,E,,,081226,,"},
         {"GPZDA,000001,01,01,2000,00,00", "GPZDA,100002,08,12,2026,00,00"}},
        // Times only at first: the day comes with the first date, the day after the first time.
        {{"GPGGA,235958,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
          "GPGGA,100000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"},
         {"GPGLL,4807.038,N,01131.000,E,000001,A", "GPGLL,4807.038,N,01131.000,E,100003,A"},
         {"GPRMC,000003,A,4807.038,N,01131.000,E,,,010100,,",
          "GPRMC,100005,A,4807.038,N,01131.000,E,,,081226,,"}},
    };
    for (const std::vector<Step>& log : logs) {
        TimeShift shift(kNow);
        for (const Step& step : log)
            EXPECT_EQ(shift.apply(FrameSentence(step.in)), FrameSentence(step.out)) << step.in;
    }
}
