#include "replay/log_calendar.h"

#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

namespace korvel {

namespace {

using namespace std::chrono;

// The seconds of the day of an hhmmss field; -1 when it holds no time.
int secondsOfDay(std::string_view hhmmss) {
    if (hhmmss.size() < 6)
        return -1;
    int digits[6];
    for (int i = 0; i < 6; ++i) {
        digits[i] = hhmmss[static_cast<size_t>(i)] - '0';
        if (digits[i] < 0 || digits[i] > 9)
            return -1;
    }
    return (digits[0] * 10 + digits[1]) * 3600 + (digits[2] * 10 + digits[3]) * 60 +
           digits[4] * 10 + digits[5];
}

// The date of a ZDA: day, month and four-digit year in fields 2 to 4.
std::optional<sys_days> zdaDay(std::string_view zda) {
    year_month_day date{year(static_cast<int>(Val(FieldView(zda, 4)))),
                        month(static_cast<unsigned>(Val(FieldView(zda, 3)))),
                        day(static_cast<unsigned>(Val(FieldView(zda, 2))))};
    if (!date.ok() || FieldView(zda, 4).size() != 4)
        return std::nullopt;
    return sys_days(date);
}

} // namespace

std::optional<sys_days> DayOfDdmmyy(std::string_view ddmmyy) {
    if (ddmmyy.size() != 6 || secondsOfDay(ddmmyy) < 0)
        return std::nullopt;
    int yy = static_cast<int>(Val(ddmmyy.substr(4, 2)));
    year_month_day date{year(yy < 80 ? 2000 + yy : 1900 + yy),
                        month(static_cast<unsigned>(Val(ddmmyy.substr(2, 2)))),
                        day(static_cast<unsigned>(Val(ddmmyy.substr(0, 2))))};
    return date.ok() ? std::optional<sys_days>(date) : std::nullopt;
}

sys_days LogCalendar::FirstDay(const std::vector<std::string>& lines, sys_days fallback) {
    // Counted from day 0: the ZDA's day is as many days after the first line's as midnights
    // passed before it.
    LogCalendar counted{sys_days{}};
    for (const std::string& line : lines) {
        counted.passTime(line);
        if (IsSentence(line, "ZDA"))
            if (std::optional<sys_days> said = zdaDay(line))
                return *said - (counted.day_ - sys_days{});
    }
    return fallback;
}

void LogCalendar::passTime(std::string_view line) {
    if (!IsSentence(line, "GGA") && !IsSentence(line, "ZDA"))
        return;
    int seconds = secondsOfDay(FieldView(line, 1));
    if (seconds < 0)
        return;
    // A time more than twelve hours before the one before is the next day's.
    if (lastSeconds_ >= 0 && seconds < lastSeconds_ - 12 * 3600)
        day_ += days{1};
    lastSeconds_ = seconds;
}

void LogCalendar::take(std::string_view line) {
    passTime(line);
    if (IsSentence(line, "ZDA"))
        if (std::optional<sys_days> said = zdaDay(line))
            day_ = *said;
}

std::string LogCalendar::ddmmyy() const {
    year_month_day date{day_};
    return Format(static_cast<unsigned>(date.day()), "00") +
           Format(static_cast<unsigned>(date.month()), "00") +
           Right(Format(static_cast<int>(date.year()), "0000"), 2);
}

} // namespace korvel
