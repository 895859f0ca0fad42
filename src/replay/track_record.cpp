#include "replay/track_record.h"

#include "text/byte_search.h"
#include "text/conversions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace korvel {

namespace {

std::string field(const std::vector<std::string>& fields, size_t i) {
    return i < fields.size() ? fields[i] : "";
}

bool startsWithNumber(std::string_view text) {
    size_t i = 0, size = text.size();
    while (i < size && text[i] == ' ')
        ++i;
    if (i < size && (text[i] == '-' || text[i] == '+'))
        ++i;
    auto digit = [&](size_t at) { return at < size && text[at] >= '0' && text[at] <= '9'; };
    return digit(i) || (i < size && text[i] == '.' && digit(i + 1));
}

void setPosition(TrackFix& fix, double latDegrees, double lonDegrees) {
    fix.latHemisphere = latDegrees < 0 ? "S" : "N";
    fix.lonHemisphere = lonDegrees < 0 ? "W" : "E";
    fix.latText = PositionText(std::fabs(latDegrees) * 60, 2);
    fix.lonText = PositionText(std::fabs(lonDegrees) * 60, 3);
}

void setTime(TrackFix& fix, const std::string& hhmmss) {
    fix.timeText = hhmmss;
    fix.compactTime = Mid(hhmmss, 1, 2) + Mid(hhmmss, 4, 2) + Mid(hhmmss, 7, 2);
}

// " 1234.5" and the like: the number written without blanks.
std::string plainNumber(double v) {
    return Trim(Str(v));
}

std::string kmlAltitude(const std::string& line, size_t fields) {
    // GPSBabel leaves an unknown altitude out: a pair, not a triple.
    std::string rest = fields > 2 ? line.substr(line.find(',', line.find(',') + 1) + 1) : "";
    return Trim(rest).empty() ? "" : plainNumber(Val(rest));
}

TrackFix readKml(const std::string& line) {
    std::vector<std::string> f = SplitFields(line);
    TrackFix fix;
    fix.day = "00"; // no date: the sentences carry 000000
    fix.year = "0000";
    setPosition(fix, Val(field(f, 1)), Val(field(f, 0)));
    fix.altitude = kmlAltitude(line, f.size());
    return fix;
}

// OziExplorer: the fields say it, whatever the padding and the writer's locale. Field 5 holds
// days since 30 December 1899 with the time as the fraction.
// The first n fields of a comma-separated line, "" beyond its last field, found in one search.
template <size_t n> std::array<std::string_view, n> leadingFields(std::string_view line) {
    std::array<size_t, n> ends = FindFirst<n>(line, ',');
    std::array<std::string_view, n> fields{};
    size_t start = 0;
    for (size_t i = 0; i < n && start <= line.size(); ++i) {
        fields[i] = std::string_view(line.data() + start, ends[i] - start);
        start = ends[i] + 1;
    }
    return fields;
}

// The altitude field holds feet, -777 for none.
std::optional<double> oziMetres(std::string_view altitude) {
    double feet = Val(altitude);
    if (!startsWithNumber(altitude) || feet == -777)
        return std::nullopt;
    return feet * 0.3048;
}

// "1" with any spaces around it. Looked at byte by byte: a general trim takes longer on
// every point of a large track.
bool oziNewSegment(std::string_view flag) {
    const char *p = flag.data(), *end = p + flag.size();
    while (p < end && *p == ' ')
        ++p;
    if (p == end || *p != '1')
        return false;
    while (++p < end && *p == ' ') {
    }
    return p == end;
}

// The whole metres of an altitude written with at most nine digits before its point and four
// after, as nearly every track writes it, found in whole numbers: the number the text of the
// metres shows, without the division whose wait costs most of a point's load. False when the
// metres lie so near a whole number that the general reading's rounding could tip them over
// it, and for any other text: the general reading takes those.
bool quickWholeMetres(std::string_view altitude, std::optional<double>& metres) {
    const char *p = altitude.data(), *end = p + altitude.size();
    while (p < end && *p == ' ')
        ++p;
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    unsigned long long feet = 0;
    auto digits = [&](size_t most) {
        size_t count = 0;
        for (unsigned d; p < end && (d = static_cast<unsigned char>(*p - '0')) < 10; ++p, ++count)
            feet = feet * 10 + d;
        return count > 0 && count <= most;
    };
    if (!digits(9))
        return false;
    size_t decimals = 0;
    if (p < end && *p == '.') {
        const char* point = ++p;
        if (p < end && !digits(4))
            return false;
        decimals = static_cast<size_t>(p - point);
    }
    static constexpr unsigned long long kTen[] = {1, 10, 100, 1000, 10000};
    if (p < end && (*p == 'e' || *p == 'E'))
        return false; // an exponent
    if (negative && feet == 777 * kTen[decimals]) {
        metres = std::nullopt; // -777: no altitude
        return true;
    }
    // In ten-thousandths of a foot, times 3048: hundred-millionths of a metre. A division by
    // a constant, which the compiler makes a multiplication.
    constexpr unsigned long long kUnit = 100000000;
    unsigned long long scaled = feet * kTen[4 - decimals] * 3048;
    unsigned long long whole = scaled / kUnit, rest = scaled % kUnit;
    // The general reading's error and its tolerance below a whole number are within
    // 1e-13 of the metres; the fraction must lie well clear of both whole numbers beside it.
    if (rest != 0 && static_cast<double>(std::min(rest, kUnit - rest)) <=
                         2e-13 * static_cast<double>(whole + 1) * static_cast<double>(kUnit))
        return false;
    double below = static_cast<double>(whole);
    metres = negative ? -below - (rest != 0) : below;
    return true;
}

// Millions of points: the whole metres without writing the altitude's text. Written in place:
// a copy of the height, read whole just after its parts were written, waits for the writes.
void readOziHeight(const std::array<std::string_view, 4>& fields, TrackHeight& height) {
    height.newSegment = oziNewSegment(fields[2]);
    if (!quickWholeMetres(fields[3], height.altitude)) {
        std::optional<double> exact = oziMetres(fields[3]);
        height.altitude = exact ? std::optional(IntOfStr(*exact)) : std::nullopt;
    }
}

TrackFix readOzi(const std::string& line) {
    auto fields = leadingFields<7>(line);
    TrackFix fix;
    setPosition(fix, Val(fields[0]), Val(fields[1]));
    std::optional<double> metres = oziMetres(fields[3]);
    fix.altitude = metres ? plainNumber(*metres) : "";
    fix.newSegment = oziNewSegment(fields[2]);
    if (startsWithNumber(fields[4])) {
        using namespace std::chrono;
        // Mended: a day number outside the years 1 to 9999 is held at their ends instead of
        // overflowing the date arithmetic.
        double days = std::clamp(Val(fields[4]), -693593.0, 2958465.0);
        long long seconds = std::llround(days * 86400.0);
        sys_seconds at = sys_days(year(1899) / December / 30) + std::chrono::seconds(seconds);
        sys_days day = floor<std::chrono::days>(at);
        year_month_day date(day);
        hh_mm_ss time(at - day);
        fix.day = Format(static_cast<unsigned>(date.day()), "00");
        fix.month = Format(static_cast<unsigned>(date.month()), "00");
        fix.year = Trim(Str(static_cast<int>(date.year())));
        setTime(fix, Format(time.hours().count(), "00") + ":" +
                         Format(time.minutes().count(), "00") + ":" +
                         Format(time.seconds().count(), "00"));
        return fix;
    }
    // No day number: the date and time texts (dd-Mon-yy and hh:mm:ss).
    std::string date = Trim(fields[5]);
    fix.day = Left(date, 2);
    fix.month = Mid(date, 4, 3);
    fix.year = FourDigitYear(Right(date, 2));
    std::string time = Trim(fields[6]);
    if (time.size() == 7)
        time = "0" + time;
    setTime(fix, time);
    return fix;
}

// TTQV and PCX5 share the date and time columns.
void readPcxDate(TrackFix& fix, const std::string& line) {
    fix.day = Mid(line, 29, 2);
    fix.month = Mid(line, 32, 3);
    fix.year = FourDigitYear(Mid(line, 36, 2));
    setTime(fix, Mid(line, 39, 8));
}

std::string ttqvAltitude(const std::string& line) {
    return Mid(line, 48, 4);
}

TrackFix readTtqv(const std::string& line) {
    TrackFix fix;
    double lat = Val(Mid(line, 5, 10)), lon = Val(Mid(line, 17, 11));
    fix.latHemisphere = Mid(line, 4, 1) == "+" ? "N" : "S";
    fix.lonHemisphere = Mid(line, 16, 1) == "+" ? "E" : "W";
    fix.latText = PositionText(std::fabs(lat) * 60, 2);
    fix.lonText = PositionText(std::fabs(lon) * 60, 3);
    readPcxDate(fix, line);
    fix.altitude = ttqvAltitude(line);
    return fix;
}

TrackFix readPcx5(const std::string& line) {
    TrackFix fix;
    fix.latText = Mid(line, 5, 2) + Mid(line, 7, 6);
    fix.lonText = Mid(line, 17, 3) + Mid(line, 20, 6);
    fix.latHemisphere = Mid(line, 4, 1);
    fix.lonHemisphere = Mid(line, 16, 1);
    readPcxDate(fix, line);
    return fix;
}

// The altitude between the ";" after column 50 and the next; "1e25" marks an unknown one.
std::optional<std::string> gardownAltitude(const std::string& line) {
    long semicolon = InStr(50, line, ";");
    if (semicolon <= 0)
        return std::nullopt;
    long end = InStr(semicolon + 1, line, ";");
    std::string altitude =
        end > 0 ? Mid(line, semicolon + 1, end - semicolon - 1) : Mid(line, semicolon + 1);
    return altitude.find("1e25") != std::string::npos ? "" : altitude;
}

TrackFix readGardown(const std::string& line) {
    TrackFix fix;
    fix.latText = Mid(line, 5, 2) + Mid(line, 8, 6);
    fix.lonText = Mid(line, 17, 3) + Mid(line, 21, 6);
    fix.latHemisphere = Mid(line, 4, 1);
    fix.lonHemisphere = Mid(line, 16, 1);
    fix.month = Mid(line, 33, 3);
    fix.day = Mid(line, 37, 2);
    setTime(fix, Mid(line, 40, 8));
    fix.year = Mid(line, 49, 4);
    fix.altitude = gardownAltitude(line);
    return fix;
}

TrackFix readG7ToWin(const std::string& line) {
    TrackFix fix;
    double lat = Val(Mid(line, 5, 2)) * 60 + Val(Mid(line, 8, 2)) + Val(Mid(line, 11, 5)) / 60;
    double lon = Val(Mid(line, 18, 3)) * 60 + Val(Mid(line, 22, 2)) + Val(Mid(line, 25, 5)) / 60;
    fix.latText = PositionText(lat, 2);
    fix.lonText = PositionText(lon, 3);
    fix.latHemisphere = Mid(line, 4, 1);
    fix.lonHemisphere = Mid(line, 17, 1);
    fix.month = Mid(line, 35, 3);
    fix.day = Mid(line, 39, 2);
    setTime(fix, Mid(line, 42, 8));
    fix.year = Mid(line, 51, 4);
    fix.altitude = gardownAltitude(line);
    return fix;
}

} // namespace

TrackFix ReadTrackRecord(const std::string& format, const std::string& line) {
    if (format == "KML")
        return readKml(line);
    if (format == "OziExplorer")
        return readOzi(line);
    if (format == "TTQV-PCX")
        return readTtqv(line);
    if (format == "PCX5")
        return readPcx5(line);
    if (format == "G7ToWin")
        return readG7ToWin(line);
    return readGardown(line); // "Gardown", "G7To" and "Korvel"
}

TrackHeight ReadTrackHeight(const std::string& format, std::string_view view) {
    auto whole = [](const std::optional<std::string>& text) -> std::optional<double> {
        if (!text || Trim(*text).empty())
            return std::nullopt;
        return Int(Val(*text));
    };
    if (format == "OziExplorer") {
        TrackHeight height;
        readOziHeight(leadingFields<4>(view), height);
        return height;
    }
    std::string line(view);
    if (format == "KML")
        return {whole(kmlAltitude(line, SplitFields(line).size())), false};
    if (format == "TTQV-PCX")
        return {whole(ttqvAltitude(line)), false};
    if (format == "PCX5")
        return {};
    return {whole(gardownAltitude(line)), false};
}

bool ReadOziPointHeight(std::string_view line, TrackHeight& height) {
    auto fields = leadingFields<4>(line);
    if (!startsWithNumber(fields[0]))
        return false;
    readOziHeight(fields, height);
    return true;
}

bool IsTrackRecord(const std::string& format, std::string_view line, long lineNumber,
                   const std::string& recordMarker) {
    if (format == "KML") {
        size_t first = line.find_first_not_of(" \t");
        return first != std::string_view::npos && line[first] != '<' &&
               line.find(',') != std::string_view::npos;
    }
    if (format.starts_with("Ozi"))
        return lineNumber > 6 && startsWithNumber(leadingFields<1>(line)[0]);
    return !line.empty() && line.substr(0, 1) == recordMarker;
}

bool IsKmlRoot(const std::string& line) {
    // Mended: real files also write the element with its attributes on the following lines.
    return line.starts_with("<kml") && (line.size() == 4 || line[4] == ' ' || line[4] == '>');
}

std::string PositionText(double minutesOfArc, int degreeDigits) {
    // Mended: a coordinate far beyond any that a degrees field holds is read as 0 instead of
    // overflowing the arithmetic below.
    if (!(std::fabs(minutesOfArc) < 1e12))
        minutesOfArc = 0;
    // Round to the thousandth of a minute first, so that 59.9996 minutes carry into the degrees.
    long long thousandths = FormatUnits(minutesOfArc, 3);
    long long degrees = thousandths / 60000;
    if (thousandths >= 0) {
        // What the patterns below give, written digit by digit: this runs for every point
        // replayed.
        char whole[24];
        size_t length =
            static_cast<size_t>(std::to_chars(whole, whole + sizeof whole, degrees).ptr - whole);
        size_t width = degreeDigits == 2 ? 2 : 3;
        std::string text(length < width ? width - length : 0, '0');
        text.append(whole, length);
        long long rest = thousandths - degrees * 60000; // thousandths of a minute, below 60000
        for (long long unit : {10000, 1000, 100, 10, 1}) {
            if (unit == 100)
                text += '.';
            text += static_cast<char>('0' + rest / unit % 10);
        }
        return text;
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
    std::string upper = month;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    for (int i = 0; i < 12; ++i)
        if (upper == names[i])
            return Format(i + 1, "00");
    return "00";
}

std::string FourDigitYear(const std::string& twoDigits) {
    return (Val(twoDigits) > 80 ? "19" : "20") + twoDigits;
}

} // namespace korvel
