#include "replay/log_calendar.h"

#include "output/sentence_time.h"
#include "replay/record_time.h"

namespace korvel {

using namespace std::chrono;

sys_days LogCalendar::FirstDay(const std::vector<std::string>& lines, sys_days fallback) {
    // Counted from day 0: the ZDA's day is as many days after the first line's as midnights
    // passed up to it.
    LogCalendar counted{sys_days{}};
    for (const std::string& line : lines)
        if (std::optional<SentenceTime> t = TimeOf(line)) {
            counted.pass(static_cast<int>(t->seconds % 86400));
            if (t->dated)
                return sys_days{days{t->seconds / 86400}} - (counted.day_ - sys_days{});
        }
    return fallback;
}

void LogCalendar::take(const std::string& line) {
    std::optional<SentenceTime> t = TimeOf(line);
    if (!t)
        return;
    pass(static_cast<int>(t->seconds % 86400));
    if (t->dated) // a ZDA says its day
        day_ = sys_days{days{t->seconds / 86400}};
}

void LogCalendar::pass(int seconds) {
    // A time more than twelve hours before the one before is the next day's.
    if (lastSeconds_ >= 0 && seconds < lastSeconds_ - 12 * 3600)
        day_ += days{1};
    lastSeconds_ = seconds;
}

std::string LogCalendar::ddmmyy() const {
    year_month_day date{day_};
    return Ddmmyy(LocalDateTime{static_cast<int>(date.year()),
                                static_cast<int>(static_cast<unsigned>(date.month())),
                                static_cast<int>(static_cast<unsigned>(date.day())), 0, 0, 0, 0});
}

} // namespace korvel
