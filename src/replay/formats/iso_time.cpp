#include "replay/formats/iso_time.h"

#include "text/conversions.h"

#include <chrono>

namespace korvel {

namespace {

// The number of count digits at text[at], or -1 when they are not all digits.
int digits(std::string_view text, size_t at, size_t count) {
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

bool SetIsoTime(TrackFix& fix, std::string_view text) {
    text = TrimView(text);
    // yyyy-mm-ddThh:mm:ss
    int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    int hours = digits(text, 11, 2), minutes = digits(text, 14, 2), seconds = digits(text, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hours < 0 || minutes < 0 || seconds < 0 ||
        text[4] != '-' || text[7] != '-' ||
        (text[10] != 'T' && text[10] != 't' && text[10] != ' ') || text[13] != ':' ||
        text[16] != ':' || hours > 23 || minutes > 59 || seconds > 60)
        return false;
    size_t at = 19;
    std::string_view fraction;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        size_t first = ++at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        fraction = text.substr(first, at - first);
    }
    int offsetMinutes = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        int offsetHours = digits(text, at + 1, 2);
        size_t m = at + 3 < text.size() && text[at + 3] == ':' ? at + 4 : at + 3;
        int offsetRest = m < text.size() ? digits(text, m, 2) : 0;
        if (offsetHours < 0 || offsetRest < 0)
            return false;
        offsetMinutes = (offsetHours * 60 + offsetRest) * (text[at] == '-' ? -1 : 1);
    } else if (at < text.size() && text[at] != 'Z' && text[at] != 'z') {
        return false;
    }
    using namespace std::chrono;
    year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                        std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        return false;
    SetUtc(fix, sys_days(date) + std::chrono::hours(hours) +
                    std::chrono::minutes(minutes - offsetMinutes) + std::chrono::seconds(seconds));
    if (!fraction.empty())
        SetFraction(fix, fraction);
    return true;
}

} // namespace korvel
