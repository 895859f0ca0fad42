#include "replay/record_pace.h"
#include "replay/step_pace.h"

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

// An interval in seconds: each record on its own time from the first, whatever the steps took;
// one late by more than a period counts again from now, with no burst of the missed ones.
TEST(RecordPace, AnExactIntervalKeepsEveryRecordOnItsTime) {
    struct Step {
        double now;     // when the record went out
        int wait;       // until the next
        double dueNext; // when the next is due
    } steps[] = {
        {0, 200, 200},     {203, 197, 400},   {400, 200, 600},     {650, 150, 800},
        {900, 100, 1000},  {1300, 0, 1200},   {1301, 99, 1400},    // one late: caught up
        {1900, 200, 2100}, {2100, 200, 2300}, {2299.6, 200, 2500}, // far behind: from now
    };
    double due = 0;
    for (const Step& s : steps) {
        double before = due;
        EXPECT_EQ(NextRecordIn(200, due, s.now), s.wait) << "at " << s.now << ", due " << before;
        EXPECT_EQ(due, s.dueNext) << "at " << s.now;
    }
}
