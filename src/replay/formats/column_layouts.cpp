// The column layouts of the fixed-column exports: the TTQV and PCX5 exports, the Gardown
// layout (also that of G7To and of the program's own download) and G7ToWin's degrees,
// minutes and seconds. Columns count from 1.
#include "replay/formats/readers.h"
#include "text/conversions.h"

#include <array>
#include <cmath>
#include <cstring>
#include <optional>

namespace korvel {

namespace {

// TTQV and PCX5 share the date and time columns.
void readPcxDate(TrackFix& fix, std::string_view line) {
    fix.day = Mid(line, 29, 2);
    fix.month = Mid(line, 32, 3);
    fix.year = FourDigitYear(Mid(line, 36, 2));
    SetTime(fix, Mid(line, 39, 8));
}

double ttqvAltitude(std::string_view line) {
    return WholeMetresOf(Mid(line, 48, 4));
}

// PCX5's altitude in metres from column 48; -9999 marks an unknown one, a line that ends
// before it has none.
std::optional<double> pcx5Altitude(std::string_view line) {
    std::string_view altitude = TrimView(MidView(line, 48, 8));
    if (altitude.empty())
        return std::nullopt;
    return Val(altitude) == -9999 ? kNoAltitude : WholeMetresOf(altitude);
}

// The altitude between the ";" after column 50 and the next; "1e25" marks an unknown one.
std::optional<double> gardownAltitude(std::string_view line) {
    size_t semicolon = line.find(';', 49);
    if (semicolon == std::string_view::npos)
        return std::nullopt;
    std::string_view altitude = line.substr(semicolon + 1);
    altitude = altitude.substr(0, altitude.find(';'));
    return altitude.find("1e25") != std::string::npos ? kNoAltitude : WholeMetresOf(altitude);
}

// The date and time of the Gardown layout ("Sat Dec 02 12:06:16 2010") and its altitude,
// shifted right by the columns given.
void readGardownDate(TrackFix& fix, std::string_view line, long shift) {
    fix.month = MidView(line, 33 + shift, 3);
    fix.day = MidView(line, 37 + shift, 2);
    SetTime(fix, MidView(line, 40 + shift, 8));
    fix.year = MidView(line, 49 + shift, 4);
    fix.altitude = gardownAltitude(line);
}

// The text of a coordinate written as the position's text is (the degrees' digits, then two of
// the minutes, a point and three or more decimals), cut after the thousandths and rounded up
// where the next decimal is 5 or more: the same as the rounding of its number. False where the
// columns are written otherwise, or the rounding carries into the degrees.
bool roundedAsWritten(std::string_view degrees, std::string_view minutes, int degreeDigits,
                      size_t places, std::string& text) {
    if (degrees.size() != static_cast<size_t>(degreeDigits) || places < 3 || minutes.size() < 6 ||
        minutes[2] != '.')
        return false;
    char digits[9];
    std::memcpy(digits, degrees.data(), degrees.size());
    std::memcpy(digits + degrees.size(), minutes.data(), 6);
    size_t size = degrees.size() + 6;
    if (places > 3 && minutes[6] >= '5') {
        size_t i = size;
        while (i-- > degrees.size() && (digits[i] == '.' || digits[i] == '9'))
            if (digits[i] == '9')
                digits[i] = '0';
        if (i < degrees.size() || ++digits[i] > '9' || digits[degrees.size()] > '5')
            return false; // into the degrees: the number's rounding says it
    }
    text.assign(digits, size);
    return true;
}

constexpr auto kTens = [] {
    std::array<long long, 16> tens{};
    long long ten = 1;
    for (long long& power : tens) {
        power = ten;
        ten *= 10;
    }
    return tens;
}();

// A coordinate in units of the last decimal of its minutes.
struct CoordinateUnits {
    long long units;
    size_t places;
    double minutes(bool negative) const {
        return static_cast<double>(negative ? -units : units) / static_cast<double>(kTens[places]);
    }
};

// One coordinate of the position: whole degrees, and the minutes from their column up to a
// blank (at most 16 characters), in whole numbers, as every point is read. Columns that hold no
// such numbers (a grid reference, a shifted column) are no position. Inlined where it is read:
// a track point's tick has a budget of instructions, and the call with the value it returns
// took some forty of it.
[[gnu::always_inline]] inline std::optional<CoordinateUnits>
coordinateUnits(std::string_view degrees, std::string_view minutes) {
    auto digit = [](const char* p) { return static_cast<unsigned char>(*p - '0') < 10; };
    long long whole = 0, units = 0;
    for (const char& ch : degrees) {
        if (!digit(&ch))
            return std::nullopt;
        whole = whole * 10 + (ch - '0');
    }
    const char *p = minutes.data(), *end = p + minutes.size();
    for (; p < end && digit(p); ++p)
        units = units * 10 + (*p - '0');
    size_t places = 0;
    if (p < end && *p == '.') {
        const char* point = ++p;
        for (; p < end && digit(p); ++p)
            units = units * 10 + (*p - '0');
        places = static_cast<size_t>(p - point);
    }
    if (degrees.empty() || p == minutes.data() || (p < end && *p != ' '))
        return std::nullopt;
    return CoordinateUnits{units + whole * 60 * kTens[places], places};
}

// A coordinate, its text rounded to the thousandth like every format's.
void readCoordinate(std::string_view degrees, std::string_view minutes, int degreeDigits,
                    bool negative, std::string& text, double& signedMinutes) {
    std::optional<CoordinateUnits> read = coordinateUnits(degrees, minutes);
    if (!read) {
        text.clear();
        return;
    }
    auto [units, places] = *read;
    signedMinutes = read->minutes(negative);
    if (!roundedAsWritten(degrees, minutes, degreeDigits, places, text)) {
        long long thousandths = places <= 3 ? units * kTens[3 - places]
                                            : (units + kTens[places - 3] / 2) / kTens[places - 3];
        WriteThousandths(thousandths, degreeDigits, text);
    }
}

// Hemisphere letters in columns 4 and 16, degrees in 5 and 17, the minutes where the layout
// has them.
void readPosition(TrackFix& fix, std::string_view line, long latMinutes, long lonMinutes) {
    fix.latHemisphere = MidView(line, 4, 1);
    fix.lonHemisphere = MidView(line, 16, 1);
    readCoordinate(MidView(line, 5, 2), MidView(line, latMinutes, 16), 2, fix.latHemisphere == "S",
                   fix.latText, fix.latMinutes);
    readCoordinate(MidView(line, 17, 3), MidView(line, lonMinutes, 16), 3, fix.lonHemisphere == "W",
                   fix.lonText, fix.lonMinutes);
}

// Whether the same columns hold a position on the globe, as OnTheGlobe finds it after
// readPosition, without the texts and the date: the load looks at millions of points.
bool positionOnTheGlobe(std::string_view line, long latMinutes, long lonMinutes) {
    std::string_view lat = MidView(line, 4, 1), lon = MidView(line, 16, 1);
    if ((lat != "N" && lat != "S") || (lon != "E" && lon != "W"))
        return false;
    auto within = [](std::optional<CoordinateUnits> read, bool negative, double most) {
        return read && std::fabs(read->minutes(negative)) <= most;
    };
    return within(coordinateUnits(MidView(line, 5, 2), MidView(line, latMinutes, 16)), lat == "S",
                  90 * 60) &&
           within(coordinateUnits(MidView(line, 17, 3), MidView(line, lonMinutes, 16)), lon == "W",
                  180 * 60);
}

void readTtqv(std::string_view line, TrackFix& fix) {
    double lat = Val(Mid(line, 5, 10)), lon = Val(Mid(line, 17, 11));
    fix.latHemisphere = Mid(line, 4, 1) == "+" ? "N" : "S";
    fix.lonHemisphere = Mid(line, 16, 1) == "+" ? "E" : "W";
    fix.latText = PositionText(std::fabs(lat) * 60, 2);
    fix.lonText = PositionText(std::fabs(lon) * 60, 3);
    fix.latMinutes = std::copysign(lat * 60, fix.latHemisphere == "S" ? -1 : 1);
    fix.lonMinutes = std::copysign(lon * 60, fix.lonHemisphere == "W" ? -1 : 1);
    readPcxDate(fix, line);
    fix.altitude = ttqvAltitude(line);
}

void readPcx5(std::string_view line, TrackFix& fix) {
    readPosition(fix, line, 7, 20);
    readPcxDate(fix, line);
    fix.altitude = pcx5Altitude(line);
}

void readGardown(std::string_view line, TrackFix& fix) {
    readPosition(fix, line, 8, 21);
    readGardownDate(fix, line, 0);
}

void readG7ToWin(std::string_view line, TrackFix& fix) {
    double lat = Val(Mid(line, 5, 2)) * 60 + Val(Mid(line, 8, 2)) + Val(Mid(line, 11, 5)) / 60;
    double lon = Val(Mid(line, 18, 3)) * 60 + Val(Mid(line, 22, 2)) + Val(Mid(line, 25, 5)) / 60;
    fix.latText = PositionText(lat, 2);
    fix.lonText = PositionText(lon, 3);
    fix.latHemisphere = Mid(line, 4, 1);
    fix.lonHemisphere = Mid(line, 17, 1);
    fix.latMinutes = fix.latHemisphere == "S" ? -lat : lat;
    fix.lonMinutes = fix.lonHemisphere == "W" ? -lon : lon;
    readGardownDate(fix, line, 2);
}

// The load's look at a point of a layout with its minutes in these columns, and the altitude
// that the layout's reading of the point takes.
template <long latMinutes, long lonMinutes, std::optional<double> (*altitudeOf)(std::string_view)>
bool minutesColumnsHeight(std::string_view line, double& metres) {
    if (!positionOnTheGlobe(line, latMinutes, lonMinutes))
        return false;
    metres = altitudeOf(line).value_or(kNoAltitude);
    return true;
}

// The load's look at a point of a layout whose position takes no more reading than the point.
template <void (*read)(std::string_view, TrackFix&)>
bool wholePointHeight(std::string_view line, double& metres) {
    TrackFix fix;
    read(line, fix);
    if (!OnTheGlobe(fix))
        return false;
    metres = fix.altitude.value_or(kNoAltitude);
    return true;
}

} // namespace

const ColumnLayout kTtqvColumns{readTtqv, wholePointHeight<readTtqv>};
const ColumnLayout kPcx5Columns{readPcx5, minutesColumnsHeight<7, 20, pcx5Altitude>};
const ColumnLayout kGardownColumns{readGardown, minutesColumnsHeight<8, 21, gardownAltitude>};
const ColumnLayout kG7ToWinColumns{readG7ToWin, wholePointHeight<readG7ToWin>};

} // namespace korvel
