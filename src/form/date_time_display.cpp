// The date and time of the record being replayed, in UTC or local time, and the trip timer.
#include "form/figures_presenter.h"
#include "text/conversions.h"

#include <chrono>

namespace korvel {

namespace {

using namespace std::chrono;

// The first count letters of a UTF-8 text, whatever their bytes.
std::string firstLetters(const std::string& text, size_t count) {
    size_t end = 0;
    for (size_t letters = 0; end < text.size(); ++end)
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && letters++ == count)
            break;
    return text.substr(0, end);
}

// The offset of central European time: one hour, two in summer. The switch comes at 01:00 UTC
// on the last Sunday of March and at 02:00 UTC on the last Sunday of October; days of the week
// count from Sunday as 1.
int centralEuropeanOffset(const year_month_day& date, int hour) {
    int day = static_cast<int>(static_cast<unsigned>(date.day()));
    int month = static_cast<int>(static_cast<unsigned>(date.month()));
    int dayOfWeek = static_cast<int>(std::chrono::weekday(sys_days(date)).c_encoding()) + 1;
    int offset = 1;
    if (month == 3 && day - dayOfWeek > 23)
        offset = dayOfWeek == 1 && hour < 1 ? 1 : 2;
    if (month > 3 && month < 11)
        offset = 2;
    if (month == 10 && day - dayOfWeek > 23)
        offset = dayOfWeek == 1 && hour < 2 ? 2 : 1;
    return offset;
}

} // namespace

void FiguresPresenter::ShowDateTime(const RecordTime& time, std::optional<long long> tripMinutes) {
    if (tripMinutes) {
        // hh:mm, written over the caption of the record before, in its room.
        std::string& shown = c.TTL.caption;
        shown.resize(5);
        shown[0] = static_cast<char>('0' + *tripMinutes / 600);
        shown[1] = static_cast<char>('0' + *tripMinutes / 60 % 10);
        shown[2] = ':';
        shown[3] = static_cast<char>('0' + *tripMinutes % 60 / 10);
        shown[4] = static_cast<char>('0' + *tripMinutes % 10);
    }
    sys_seconds at{seconds(time.at)};
    year_month_day utcDate(floor<days>(at));
    int hour = static_cast<int>(floor<hours>(at - floor<days>(at)).count());

    int offset = c.TZdiff.value.get();
    if (offset == 1) {
        offset = centralEuropeanOffset(utcDate, hour);
        c.Label7.caption = offset == 2 ? "MESZ" : "MEZ";
    }
    bool local = timeReference_ == 1;
    if (local)
        at += hours(offset);
    sys_days shownDay = floor<days>(at);
    year_month_day shown(shownDay);
    hh_mm_ss clock(at - shownDay);

    static const char* const english[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char* const german[] = {"Januar",    "Februar", "M\xc3\xa4rz", "April",
                                         "Mai",       "Juni",    "Juli",        "August",
                                         "September", "Oktober", "November",    "Dezember"};
    unsigned m = static_cast<unsigned>(shown.month()) - 1;
    std::string monthName = local ? german[m] : english[m];
    std::string dayText = TwoDigits(static_cast<unsigned>(shown.day()));
    std::string yearText = std::to_string(static_cast<int>(shown.year()));
    c.WtL.caption = dayText + "." + monthName + yearText;
    c.Zeit.caption = TwoDigits(clock.hours().count()) + ":" + TwoDigits(clock.minutes().count()) +
                     ":" + TwoDigits(clock.seconds().count());
    c.Datum.caption = local ? dayText + ". " + firstLetters(monthName, 3) + " " + yearText
                            : yearText + "-" + monthName + "-" + time.dayText;
}

} // namespace korvel
