#include "support/replay_fixture.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {
class DateTimeDisplay : public test::ReplayFixture {};
} // namespace

TEST_F(DateTimeDisplay, CentralEuropeanSummerTimeAndLocalDates) {
    struct Case {
        int offset, reference;
        const char *date, *time, *label7, *zeit, *datum, *wtl;
    } cases[] = {
        // The last Sunday of March 2026: summer time from 01:00 UTC.
        {1, 1, "290326", "005900", "MEZ", "01:59:00", "29. M\xc3\xa4r 2026", "29.M\xc3\xa4rz2026"},
        {1, 1, "290326", "010000", "MESZ", "03:00:00", "29. M\xc3\xa4r 2026", "29.M\xc3\xa4rz2026"},
        // 2018: the last Sunday is the 25th, the earliest it can be; the Saturday before is
        // winter time all day.
        {1, 1, "250318", "010000", "MESZ", "03:00:00", "25. M\xc3\xa4r 2018", "25.M\xc3\xa4rz2018"},
        {1, 1, "240318", "230000", "MEZ", "00:00:00", "25. M\xc3\xa4r 2018", "25.M\xc3\xa4rz2018"},
        // The last Sunday of October 2026: winter time from 02:00 UTC.
        {1, 1, "251026", "013000", "MESZ", "03:30:00", "25. Okt 2026", "25.Oktober2026"},
        {1, 1, "251026", "020000", "MEZ", "03:00:00", "25. Okt 2026", "25.Oktober2026"},
        // 2020: the last Sunday of October is the 25th.
        {1, 1, "251020", "020000", "MEZ", "03:00:00", "25. Okt 2020", "25.Oktober2020"},
        // New year in local time.
        {1, 1, "311226", "233000", "MEZ", "00:30:00", "01. Jan 2027", "01.Januar2027"},
        // UTC shown: the offset only names the zone.
        {1, 0, "040626", "120000", "MESZ", "12:00:00", "2026-Jun-04", "04.Jun2026"},
        {-5, 1, "010126", "030000", "LOC", "22:00:00", "31. Dez 2025", "31.Dezember2025"},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(std::string(t.date) + " " + t.time);
        c.TZdiff.setValue(t.offset);
        (t.reference == 1 ? c.Label7 : c.Label2).onClick();
        form.figures().ShowDateTime(*ReadRecordTime(t.date, t.time), 75);
        EXPECT_EQ(c.Label7.caption, t.label7);
        EXPECT_EQ(c.Zeit.caption, t.zeit);
        EXPECT_EQ(c.Datum.caption, t.datum);
        EXPECT_EQ(c.WtL.caption, t.wtl);
        EXPECT_EQ(c.TTL.caption, "01:15");
    }
}
