#include "replay/track_record.h"

#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace korvel {

namespace {

// Minutes of arc rounded to the thousandth, as a position's text shows them. A coordinate far
// beyond any that a degrees field holds is read as 0 rather than overflowing the arithmetic.
long long shownThousandths(double minutesOfArc) {
    return FormatUnits(std::fabs(minutesOfArc) < 1e12 ? minutesOfArc : 0, 3);
}

} // namespace

void WriteThousandths(long long thousandths, int degreeDigits, std::string& text) {
    long long degrees = thousandths / 60000;
    auto rest = static_cast<unsigned>(thousandths - degrees * 60000); // below 60000
    char digits[40];
    char* end = digits;
    if (degrees < 1000) {
        // Degrees of the globe, as nearly every position has them.
        if (degreeDigits != 2 || degrees >= 100)
            *end++ = static_cast<char>('0' + degrees / 100);
        *end++ = static_cast<char>('0' + degrees / 10 % 10);
        *end++ = static_cast<char>('0' + degrees % 10);
    } else {
        end = std::to_chars(digits, digits + 24, degrees).ptr;
    }
    const char minutes[] = {static_cast<char>('0' + rest / 10000),
                            static_cast<char>('0' + rest / 1000 % 10),
                            '.',
                            static_cast<char>('0' + rest / 100 % 10),
                            static_cast<char>('0' + rest / 10 % 10),
                            static_cast<char>('0' + rest % 10)};
    std::memcpy(end, minutes, sizeof minutes);
    text.assign(digits, static_cast<size_t>(end + sizeof minutes - digits));
}

namespace {

// One coordinate of signed degrees: its text, and its signed minutes as the file gives them.
void setCoordinate(double degrees, int degreeDigits, std::string& text, double& minutes) {
    minutes = degrees * 60;
    WriteThousandths(shownThousandths(std::fabs(minutes)), degreeDigits, text);
}

} // namespace

void SetPosition(TrackFix& fix, double latDegrees, double lonDegrees) {
    fix.latHemisphere = latDegrees < 0 ? "S" : "N";
    fix.lonHemisphere = lonDegrees < 0 ? "W" : "E";
    setCoordinate(latDegrees, 2, fix.latText, fix.latMinutes);
    setCoordinate(lonDegrees, 3, fix.lonText, fix.lonMinutes);
}

void SetTime(TrackFix& fix, std::string_view text) {
    fix.timeText = text;
    if (text.size() == 8) {
        // hh:mm:ss, as nearly every time stands: its digits in one go.
        const char digits[] = {text[0], text[1], text[3], text[4], text[6], text[7]};
        fix.compactTime.assign(digits, sizeof digits);
        return;
    }
    // The two digits of each part, where they stand; none of a part the text is too short for.
    auto part = [text](size_t at) {
        return at < text.size() ? text.substr(at, 2) : std::string_view();
    };
    fix.compactTime.assign(part(0)).append(part(3)).append(part(6));
}

void SetUtc(TrackFix& fix, std::chrono::sys_seconds at) {
    using namespace std::chrono;
    sys_days day = floor<days>(at);
    year_month_day date(day);
    long long second = (at - day).count();
    // Written digit by digit: a track's every point has its moment.
    char text[8];
    auto twoDigits = [&text](size_t at, long long n) {
        text[at] = static_cast<char>('0' + n / 10 % 10);
        text[at + 1] = static_cast<char>('0' + n % 10);
    };
    twoDigits(0, static_cast<unsigned>(date.day()));
    fix.day.assign(text, 2);
    twoDigits(0, static_cast<unsigned>(date.month()));
    fix.month.assign(text, 2);
    int year = static_cast<int>(date.year());
    if (year >= 0 && year <= 9999) {
        twoDigits(0, year / 100);
        twoDigits(2, year % 100);
        fix.year.assign(text, 4);
    } else {
        fix.year = Format(year, "0000");
    }
    twoDigits(0, second / 3600);
    twoDigits(3, second / 60 % 60);
    twoDigits(6, second % 60);
    text[2] = text[5] = ':';
    fix.timeText.assign(text, 8);
    fix.compactTime = {text[0], text[1], text[3], text[4], text[6], text[7]};
}

void SetFraction(TrackFix& fix, std::string_view digits) {
    fix.fraction = Val("." + std::string(digits));
    // Cut, never carried into the next second.
    fix.compactTime.append(".").append(digits.substr(0, 2));
    if (digits.size() == 1)
        fix.compactTime += '0';
}

void SetNoDate(TrackFix& fix) {
    fix.day = "00";
    fix.month.clear();
    fix.year = "0000";
    fix.timeText.clear();
    fix.compactTime.clear();
}

bool OnTheGlobe(TrackFix& fix) {
    auto digits = [](const std::string& text) {
        return !text.empty() && std::isdigit(static_cast<unsigned char>(text[0]));
    };
    if (!digits(fix.latText) || !digits(fix.lonText))
        return false;
    if ((fix.latHemisphere != "N" && fix.latHemisphere != "S") ||
        (fix.lonHemisphere != "E" && fix.lonHemisphere != "W"))
        return false;
    // The minutes a reader gave, or those the texts say.
    if (std::isnan(fix.latMinutes)) {
        double lat = MinutesOfArc(fix.latText);
        fix.latMinutes = fix.latHemisphere == "S" ? -lat : lat;
    }
    if (std::isnan(fix.lonMinutes)) {
        double lon = MinutesOfArc(fix.lonText);
        fix.lonMinutes = fix.lonHemisphere == "W" ? -lon : lon;
    }
    return std::fabs(fix.latMinutes) <= 90 * 60 && std::fabs(fix.lonMinutes) <= 180 * 60;
}

double NearestMetre(double metres) {
    return std::round(metres) + 0.0; // -0.3 m is 0 m, not -0
}

double WholeMetresOf(std::string_view text) {
    // Whole metres written as digits alone, as the receivers' downloads write them, are their own
    // nearest metre: read without the general number's reading, at every point of a large track.
    bool negative = text.starts_with('-');
    std::string_view digits = text.substr(negative ? 1 : 0);
    if (!digits.empty() && digits.size() <= 9 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        long metres = 0;
        for (char c : digits)
            metres = metres * 10 + (c - '0');
        return static_cast<double>(negative ? -metres : metres) + 0.0; // "-0" is 0 m
    }
    return TrimView(text).empty() ? kNoAltitude : NearestMetre(Val(text));
}

bool StartsWithNumber(std::string_view text) {
    size_t i = 0, size = text.size();
    while (i < size && text[i] == ' ')
        ++i;
    if (i < size && (text[i] == '-' || text[i] == '+'))
        ++i;
    auto digit = [&](size_t at) { return at < size && text[at] >= '0' && text[at] <= '9'; };
    return digit(i) || (i < size && text[i] == '.' && digit(i + 1));
}

std::optional<double> PlainNumber(std::string_view text) {
    text = TrimWhiteSpace(text);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string PositionText(double minutesOfArc, int degreeDigits) {
    // Round to the thousandth of a minute first, so that 59.9996 minutes carry into the degrees.
    long long thousandths = shownThousandths(minutesOfArc);
    if (thousandths >= 0) {
        std::string text;
        WriteThousandths(thousandths, degreeDigits, text); // what the patterns below give
        return text;
    }
    long long degrees = thousandths / 60000;
    std::string minutes =
        Format(static_cast<double>(thousandths - degrees * 60000) / 1000, "00.000");
    return Format(static_cast<double>(degrees), degreeDigits == 2 ? "00" : "000") + minutes;
}

std::string_view MonthNumber(std::string_view month) {
    if (month.size() == 2)
        return month;
    static const std::string_view numbers[] = {"00", "01", "02", "03", "04", "05", "06",
                                               "07", "08", "09", "10", "11", "12"};
    static constexpr char kNames[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    // Letters of either case, told without the locale's conversion: every point has a month.
    auto upper = [](char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; };
    if (month.size() == 3) {
        char first = upper(month[0]), second = upper(month[1]), third = upper(month[2]);
        for (size_t i = 0; i < 12; ++i)
            if (first == kNames[3 * i] && second == kNames[3 * i + 1] && third == kNames[3 * i + 2])
                return numbers[i + 1];
    }
    return numbers[0];
}

std::string Ddmmyy(const TrackFix& fix) {
    std::string_view month = MonthNumber(fix.month), year = fix.year;
    if (fix.day.size() == 2 && year.size() >= 2) {
        // As nearly every point has them: the day, the month's number, the year's last two.
        const char ddmmyy[] = {fix.day[0], fix.day[1], month[0], month[1], year[year.size() - 2],
                               year.back()};
        return std::string(ddmmyy, sizeof ddmmyy);
    }
    std::string date = fix.day;
    date.append(month).append(year);
    size_t last = date.size() - std::min<size_t>(2, date.size());
    return date.substr(0, 4) + date.substr(last);
}

bool OnZeroDate(const TrackFix& fix) {
    if (!fix.year.ends_with("1989"))
        return false;
    std::string ddmmyy = Ddmmyy(fix);
    return ddmmyy == "301289" || ddmmyy == "311289";
}

std::string FourDigitYear(const std::string& twoDigits) {
    return (Val(twoDigits) > 80 ? "19" : "20") + twoDigits;
}

} // namespace korvel
