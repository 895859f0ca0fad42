#include "replay/record_time.h"

#include "text/conversions.h"

#include <chrono>

namespace korvel {

std::optional<RecordTime> ReadRecordTime(std::string_view ddmmyy, std::string_view hhmmss) {
    using namespace std::chrono;
    // Two digits at a time, read where they stand; the last two when from is npos.
    auto twoDigits = [](std::string_view text, size_t from) {
        if (from == std::string_view::npos)
            from = text.size() < 2 ? 0 : text.size() - 2;
        return from < text.size() ? static_cast<int>(TwoDigitValue(text.substr(from, 2))) : 0;
    };
    int hour = twoDigits(hhmmss, 0);
    int minute = twoDigits(hhmmss, 2);
    int second = twoDigits(hhmmss, std::string_view::npos);
    int day = twoDigits(ddmmyy, 0);
    int month = twoDigits(ddmmyy, 2);
    int year = twoDigits(ddmmyy, std::string_view::npos);
    if (year == 89 && month == 12 && day >= 30)
        return std::nullopt; // the receiver's zero, as local time shows its midnight
    year += year < 80 ? 2000 : 1900;
    year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                        std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    sys_seconds at = sys_days(date) + hours(hour) + minutes(minute) + seconds(second);
    return RecordTime{at.time_since_epoch().count(), std::string(ddmmyy.substr(0, 2))};
}

std::string Ddmmyy(const LocalDateTime& day) {
    return Format(day.day, "00") + Format(day.month, "00") + Right(Format(day.year, "0000"), 2);
}

} // namespace korvel
