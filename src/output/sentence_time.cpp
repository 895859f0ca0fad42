#include "output/sentence_time.h"

#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "replay/track_record.h"
#include "text/conversions.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace korvel {

namespace {

constexpr std::int64_t kDay = 86400;

// Where a sentence keeps its time and, when it has one, its date.
struct Layout {
    size_t time = 0;
    size_t date = 0; // RMC: ddmmyy; ZDA: dd, mm and yyyy in three fields
    bool zda = false;
};

std::optional<Layout> layoutOf(const std::string& sentence) {
    if (IsSentence(sentence, "RMC"))
        return Layout{1, 9, false};
    if (IsSentence(sentence, "GLL"))
        return Layout{5, 0, false};
    if (IsSentence(sentence, "ZDA"))
        return Layout{1, 2, true};
    // The sentences of NMEA 0183 4.x whose first field is the UTC time of the fix or report.
    for (const char* type : {"GGA", "GNS", "GBS", "GST", "GRS", "BWC", "BWR", "ZTG", "ZFO", "GXA"})
        if (IsSentence(sentence, type))
            return Layout{1, 0, false};
    return std::nullopt;
}

// The fields between "$" and "*", the identifier first.
std::vector<std::string> fieldsOf(const std::string& sentence) {
    size_t star = sentence.find('*');
    return SplitFields(
        sentence.substr(1, star == std::string::npos ? std::string::npos : star - 1));
}

int number(const std::string& text, size_t from, size_t count) {
    return static_cast<int>(Val(text.substr(from, count)));
}

// Seconds since midnight of an hhmmss[.ss] field; none unless it is a time.
std::optional<std::int64_t> timeOfDay(const std::string& field) {
    if (!DigitsAt(field, 0, 6))
        return std::nullopt;
    int h = number(field, 0, 2), m = number(field, 2, 2), s = number(field, 4, 2);
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

// Days since 1970 of a date; none unless it is one.
std::optional<std::int64_t> daysOf(int year, int month, int day) {
    using namespace std::chrono;
    year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                        std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        return std::nullopt;
    return sys_days(date).time_since_epoch().count();
}

std::optional<std::int64_t> dateOf(const std::vector<std::string>& f, const Layout& layout) {
    if (layout.zda) {
        if (f.size() <= layout.date + 2 || !DigitsAt(f[layout.date], 0, 2) ||
            !DigitsAt(f[layout.date + 1], 0, 2) || !DigitsAt(f[layout.date + 2], 0, 4))
            return std::nullopt;
        return daysOf(number(f[layout.date + 2], 0, 4), number(f[layout.date + 1], 0, 2),
                      number(f[layout.date], 0, 2));
    }
    if (f.size() <= layout.date || f[layout.date].size() != 6 || !DigitsAt(f[layout.date], 0, 6))
        return std::nullopt;
    // Two-digit years as the track files have them.
    return daysOf(static_cast<int>(Val(FourDigitYear(f[layout.date].substr(4, 2)))),
                  number(f[layout.date], 2, 2), number(f[layout.date], 0, 2));
}

} // namespace

std::optional<SentenceTime> TimeOf(const std::string& sentence) {
    std::optional<Layout> layout = layoutOf(sentence);
    if (!layout)
        return std::nullopt;
    std::vector<std::string> f = fieldsOf(sentence);
    std::optional<std::int64_t> time =
        f.size() > layout->time ? timeOfDay(f[layout->time]) : std::nullopt;
    if (!time)
        return std::nullopt;
    // The fraction's first three digits, as milliseconds.
    const std::string& field = f[layout->time];
    int millis = 0, scale = 100;
    for (size_t i = 7; field[6] == '.' && DigitsAt(field, i, 1) && scale > 0; ++i, scale /= 10)
        millis += (field[i] - '0') * scale;
    std::optional<std::int64_t> days = layout->date ? dateOf(f, *layout) : std::nullopt;
    if (!days)
        return SentenceTime{*time, false, millis};
    return SentenceTime{*days * kDay + *time, true, millis};
}

std::optional<SentenceTime> TimeOf(const std::string& hhmmss, const std::string& ddmmyy) {
    return TimeOf("$GPRMC," + hhmmss + ",A,,,,,,," + ddmmyy + ",,");
}

void TimeShift::startAgain() {
    if (!latest_)
        return;
    now_ = *latest_ + 1;
    offset_.reset();
    firstOfDay_.reset();
}

std::string TimeShift::apply(const std::string& sentence) {
    std::optional<SentenceTime> t = TimeOf(sentence);
    if (!t)
        return sentence;
    std::int64_t ofDay = (t->seconds % kDay + kDay) % kDay;
    if (!offset_ && t->dated) {
        // The first record's moment: this one's, or the first time of the day of this date
        // (of the day before, when this time lies before it: the log went past midnight).
        std::int64_t first = t->seconds;
        if (firstOfDay_)
            first = t->seconds - ofDay + *firstOfDay_ - (*firstOfDay_ > ofDay ? kDay : 0);
        offset_ = now_ - first;
    } else if (!offset_ && !firstOfDay_) {
        firstOfDay_ = t->seconds;
    }
    std::int64_t shift = offset_ ? *offset_ : now_ - *firstOfDay_;
    std::int64_t moved = t->seconds + shift;
    std::int64_t movedOfDay = (moved % kDay + kDay) % kDay;
    latest_ = std::max(latest_.value_or(moved), moved);

    Layout layout = *layoutOf(sentence);
    std::vector<std::string> f = fieldsOf(sentence);
    std::string& time = f[layout.time];
    time = TwoDigits(movedOfDay / 3600) + TwoDigits(movedOfDay / 60 % 60) +
           TwoDigits(movedOfDay % 60) + time.substr(6);
    if (t->dated) {
        using namespace std::chrono;
        year_month_day date{sys_days(days((moved - movedOfDay) / kDay))};
        std::string dd = TwoDigits(static_cast<unsigned>(date.day()));
        std::string mm = TwoDigits(static_cast<unsigned>(date.month()));
        int yyyy = static_cast<int>(date.year());
        if (layout.zda) {
            f[layout.date] = dd;
            f[layout.date + 1] = mm;
            f[layout.date + 2] = Format(yyyy, "0000");
        } else {
            f[layout.date] = dd + mm + TwoDigits(yyyy % 100);
        }
    }
    std::string body;
    for (const std::string& field : f)
        body += (body.empty() ? "" : ",") + field;
    return sentence.find('*') == std::string::npos ? "$" + body : FrameSentence(body);
}

} // namespace korvel
