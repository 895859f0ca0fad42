#include "replay/track_record.h"

#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace korvel {

namespace {

// Minutes of arc rounded to the thousandth, as a position's text shows them. A coordinate far
// beyond any that a degrees field holds is read as 0 rather than overflowing the arithmetic.
long long shownThousandths(double minutesOfArc) {
    return FormatUnits(std::fabs(minutesOfArc) < 1e12 ? minutesOfArc : 0, 3);
}

// The signed minutes of the text of degrees, as reading the text back gives them: the whole
// degrees times 60, and the minutes' thousandths divided by 1000.
double shownMinutes(double degrees) {
    long long thousandths = shownThousandths(std::fabs(degrees) * 60);
    long long whole = thousandths / 60000;
    double minutes =
        static_cast<double>(whole) * 60 + static_cast<double>(thousandths - whole * 60000) / 1000;
    return degrees < 0 ? -minutes : minutes;
}

} // namespace

void SetPosition(TrackFix& fix, double latDegrees, double lonDegrees) {
    fix.latHemisphere = latDegrees < 0 ? "S" : "N";
    fix.lonHemisphere = lonDegrees < 0 ? "W" : "E";
    fix.latText = PositionText(std::fabs(latDegrees) * 60, 2);
    fix.lonText = PositionText(std::fabs(lonDegrees) * 60, 3);
    fix.latMinutes = shownMinutes(latDegrees);
    fix.lonMinutes = shownMinutes(lonDegrees);
}

void SetTime(TrackFix& fix, const std::string& hhmmss) {
    fix.timeText = hhmmss;
    // The two digits of each part, where they stand; none of a part the text is too short for.
    std::string_view text = hhmmss;
    auto part = [text](size_t at) {
        return at < text.size() ? text.substr(at, 2) : std::string_view();
    };
    fix.compactTime.assign(part(0)).append(part(3)).append(part(6));
}

void SetNoDate(TrackFix& fix) {
    fix.day = "00";
    fix.month.clear();
    fix.year = "0000";
    fix.timeText.clear();
    fix.compactTime.clear();
}

bool OnTheGlobe(const TrackFix& fix) {
    auto digits = [](const std::string& text) {
        return !text.empty() && std::isdigit(static_cast<unsigned char>(text[0]));
    };
    if (!digits(fix.latText) || !digits(fix.lonText))
        return false;
    if ((fix.latHemisphere != "N" && fix.latHemisphere != "S") ||
        (fix.lonHemisphere != "E" && fix.lonHemisphere != "W"))
        return false;
    double lat = MinutesOfArc(fix.latText), lon = MinutesOfArc(fix.lonText);
    return lat <= 90 * 60 && lon <= 180 * 60;
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
    long long degrees = thousandths / 60000;
    if (thousandths >= 0) {
        // What the patterns below give, written digit by digit: this runs for every point
        // replayed.
        char text[40];
        size_t width = degreeDigits == 2 ? 2 : 3;
        char* end = std::to_chars(text + 3, text + 24, degrees).ptr;
        char* start = text + 3;
        while (static_cast<size_t>(end - start) < width)
            *--start = '0';
        long long rest = thousandths - degrees * 60000; // thousandths of a minute, below 60000
        for (long long unit : {10000, 1000, 100, 10, 1}) {
            if (unit == 100)
                *end++ = '.';
            *end++ = static_cast<char>('0' + rest / unit % 10);
        }
        return std::string(start, end);
    }
    std::string minutes =
        Format(static_cast<double>(thousandths - degrees * 60000) / 1000, "00.000");
    return Format(static_cast<double>(degrees), degreeDigits == 2 ? "00" : "000") + minutes;
}

std::string MonthNumber(const std::string& month) {
    if (month.size() == 2)
        return month;
    static const char* const names[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    auto upper = [](char ch) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    };
    if (month.size() == 3)
        for (int i = 0; i < 12; ++i)
            if (upper(month[0]) == names[i][0] && upper(month[1]) == names[i][1] &&
                upper(month[2]) == names[i][2])
                return TwoDigits(i + 1);
    return "00";
}

std::string FourDigitYear(const std::string& twoDigits) {
    return (Val(twoDigits) > 80 ? "19" : "20") + twoDigits;
}

} // namespace korvel
