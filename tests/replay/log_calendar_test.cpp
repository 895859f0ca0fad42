#include "replay/log_calendar.h"
#include "replay/sentence.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace std::chrono;

// A ZDA dates the lines before it, less the midnights they passed; a log without a dated ZDA
// is today's.
TEST(LogCalendar, TheZdaDatesTheLinesBeforeItAcrossMidnight) {
    const sys_days today{2026y / 12 / 6};
    const std::string gga = ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    std::vector<std::string> lines = {FrameSentence("GPGGA,235959" + gga),
                                      FrameSentence("GPGGA,000000.50" + gga),
                                      FrameSentence("GPZDA,000001,01,01,2026,00,00")};
    EXPECT_EQ(LogCalendar::FirstDay(lines, today), sys_days(2025y / 12 / 31));
    EXPECT_EQ(LogCalendar::FirstDay({lines[0], lines[1]}, today), today);
    EXPECT_EQ(LogCalendar::FirstDay({FrameSentence("GPZDA,000000,32,01,2026,00,00")}, today), today)
        << "no such day";
}
