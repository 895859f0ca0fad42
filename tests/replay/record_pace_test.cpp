#include "replay/record_pace.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(RecordPace, WaitsAreTheTimesBetweenRecordsDividedByTheSpeed) {
    const std::optional<SentenceTime> none;
    auto at = [](std::int64_t seconds, int millis = 0, bool dated = true) {
        return std::optional(SentenceTime{seconds, dated, millis});
    };
    struct Case {
        const char* legend;
        std::optional<SentenceTime> time;
        int wait;
    } cases[] = {
        {"the first record goes at once", at(1000), 0},
        {"one second later, at ten times real time", at(1001), 100},
        {"a fifth of a second", at(1001, 200), 20},
        {"the same time", at(1001, 200), 0},
        {"a minute: still paced", at(1061, 200), 6000},
        {"more than a minute: one interval", at(1121, 201), 1000},
        {"no time: one interval", none, 1000},
        {"after a record without time: one interval", at(1122), 1000},
        {"backwards: one interval, and the pacing starts again", at(100), 1000},
        {"paced from the new start", at(102), 200},
        {"a time of day against a date: compared as times of day", at(103, 0, false), 100},
    };
    RecordPace pace(10, 1000);
    for (const Case& c : cases)
        EXPECT_EQ(pace.waitBefore(c.time), c.wait) << c.legend;
}
