// OziExplorer tracks: the fields say it, whatever the padding and the writer's locale. Field
// 5 holds days since 30 December 1899 with the time as the fraction.
#include "replay/formats/readers.h"
#include "text/byte_search.h"
#include "text/conversions.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

namespace korvel {

namespace {

constexpr long kHeaderLines = 6;

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
    if (!StartsWithNumber(altitude) || feet == -777)
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

// The nearest whole metres of an altitude written with at most nine digits before its point and
// four after, as nearly every track writes it, found in whole numbers, without the division
// whose wait costs most of a point's load. False when the metres lie so near a half that the
// general reading's rounding could tip them over it, and for any other text: the general
// reading takes those.
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
    // The general reading's error is within 1e-13 of the metres; the fraction must lie well
    // clear of the half.
    unsigned long long fromHalf = rest > kUnit / 2 ? rest - kUnit / 2 : kUnit / 2 - rest;
    if (static_cast<double>(fromHalf) <=
        2e-13 * static_cast<double>(whole + 1) * static_cast<double>(kUnit))
        return false;
    double nearest = static_cast<double>(whole + (rest > kUnit / 2));
    metres = negative && nearest != 0 ? -nearest : nearest;
    return true;
}

// The whole metres of an altitude field, none for -777 or a field that is no number; millions
// of points, read in whole numbers where they can be. Written in place: a copy of a height,
// read whole just after its parts were written, waits for the writes.
void oziWholeMetres(std::string_view feet, std::optional<double>& metres) {
    if (!quickWholeMetres(feet, metres) && (metres = oziMetres(feet)))
        metres = NearestMetre(*metres);
}

// A point of the line, into a fix that holds none yet.
void readOzi(std::string_view line, TrackFix& fix) {
    auto fields = leadingFields<7>(line);
    SetPosition(fix, Val(fields[0]), Val(fields[1]));
    oziWholeMetres(fields[3], fix.altitude);
    if (!fix.altitude)
        fix.altitude = kNoAltitude;
    fix.newSegment = oziNewSegment(fields[2]);
    if (StartsWithNumber(fields[4])) {
        using namespace std::chrono;
        // A day number outside the years 1 to 9999 is held at their ends: the date
        // arithmetic cannot overflow.
        double days = std::clamp(Val(fields[4]), -693593.0, 2958465.0);
        long long seconds = std::llround(days * 86400.0);
        SetUtc(fix, sys_days(year(1899) / December / 30) + std::chrono::seconds(seconds));
        return;
    }
    // No day number: the date and time texts (dd-Mon-yy and hh:mm:ss), or no date at all.
    std::string date = Trim(fields[5]);
    if (date.empty()) {
        SetNoDate(fix);
        return;
    }
    fix.day = Left(date, 2);
    fix.month = Mid(date, 4, 3);
    fix.year = FourDigitYear(Right(date, 2));
    std::string time = Trim(fields[6]);
    if (time.size() == 7)
        time = "0" + time;
    SetTime(fix, time);
}

class OziReader : public TrackReader {
  public:
    explicit OziReader(long linesRead = 0) : linesRead_(linesRead) {}
    void read(std::string_view line, std::vector<TrackPoint>& points) override {
        if (++linesRead_ <= kHeaderLines)
            return;
        auto fields = leadingFields<4>(line);
        if (!StartsWithNumber(fields[0]) || !onTheGlobe(fields))
            return;
        TrackPoint& point = points.emplace_back();
        readOzi(line, point.fix);
        if (keepTexts_)
            point.text = line;
    }
    // Nearly every line of a large track: one look gives what the load needs of it.
    void readHeights(std::string_view line, std::vector<TrackHeight>& heights) override {
        if (++linesRead_ <= kHeaderLines)
            return;
        auto fields = leadingFields<4>(line);
        if (!StartsWithNumber(fields[0]) || !onTheGlobe(fields))
            return;
        TrackHeight& height = heights.emplace_back();
        height.newSegment = oziNewSegment(fields[2]);
        oziWholeMetres(fields[3], height.altitude);
    }
    std::unique_ptr<TrackReader> resumed() const override {
        return std::make_unique<OziReader>(kHeaderLines);
    }

  private:
    // Whether a point's degrees lie on the globe, read as far as their whole degrees and the
    // zeros after them go: the load looks at millions of points, and a full reading of both
    // numbers would cost more than the rest of its look.
    static bool onTheGlobe(const std::array<std::string_view, 4>& fields) {
        return within(fields[0], 90) && within(fields[1], 180);
    }
    static bool within(std::string_view degrees, long limit) {
        const char *p = degrees.data(), *end = p + degrees.size();
        while (p < end && *p == ' ')
            ++p;
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        long whole = 0;
        for (int digits = 0; p < end && *p >= '0' && *p <= '9'; ++p)
            if (++digits > 9 || (whole = whole * 10 + (*p - '0')) > limit)
                return false;
        if (whole < limit || p == end || *p != '.')
            return true;
        while (++p < end && *p == '0') {
        }
        return p == end || *p < '0' || *p > '9';
    }
    long linesRead_;
};

} // namespace

bool NamesOzi(std::string_view line) {
    return line.starts_with("OziEx");
}

std::unique_ptr<TrackReader> MakeOziReader() {
    return std::make_unique<OziReader>();
}

} // namespace korvel
