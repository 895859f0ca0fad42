// Garmin track points: positions in semicircles, times in seconds since the receivers' epoch
// (31 December 1989), altitudes as single-precision floats, all little-endian.
#include "garmin/track_point.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace korvel {

namespace {

using namespace std::chrono;

std::uint32_t digit(char ch) {
    if (ch >= '0' && ch <= '9')
        return static_cast<std::uint32_t>(ch - '0');
    if (ch >= 'A' && ch <= 'F')
        return static_cast<std::uint32_t>(ch - 'A' + 10);
    return ch >= 'a' && ch <= 'f' ? static_cast<std::uint32_t>(ch - 'a' + 10) : 0;
}

// Bytes number to number + 3 (counted from 1) as a little-endian word; false when the packet
// is too short to hold them.
bool word(const std::string& hexText, size_t number, std::uint32_t& value) {
    size_t start = (number - 1) * 2;
    if (hexText.size() < start + 8)
        return false;
    value = 0;
    for (size_t i = 8; i > 0; i -= 2)
        value = value << 8 | digit(hexText[start + i - 2]) << 4 | digit(hexText[start + i - 1]);
    return true;
}

// "N52 30.1234" or "E013 22.5678": the hemisphere, whole degrees, minutes to four decimals.
std::string position(std::int32_t semicircles, char positive, char negative, int degreeDigits) {
    double degrees = semicircles * 180.0 / 2147483648.0;
    double magnitude = std::fabs(degrees);
    long long whole = static_cast<long long>(magnitude);
    auto tenThousandths = static_cast<long long>((magnitude - whole) * 600000 + 0.5);
    // Minutes that round up to 60 carry into the degrees: no position reads "60.0000".
    if (tenThousandths == 600000) {
        ++whole;
        tenThousandths = 0;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%c%0*lld %02lld.%04lld", degrees < 0 ? negative : positive,
                  degreeDigits, whole, tenThousandths / 10000, tenThousandths % 10000);
    return text;
}

// The receiver's float altitude in whole metres, or "1e25" for its mark of an unknown one.
std::string altitude(std::uint32_t bits) {
    int exponent = static_cast<int>(bits >> 23 & 0xFF);
    double mantissa = 1 + (bits & 0x7FFFFF) / 8388608.0;
    double metres = std::ldexp(mantissa, exponent - 127);
    // The mark is 1.0e25 as the receiver stores it, which as a float lies just below 1.0e25.
    if (metres >= static_cast<double>(1.0e25f))
        return "1e25";
    // Whole metres, written from the double: heights no receiver reports still fit.
    double whole = std::floor(metres + 0.5);
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", bits >> 31 && whole != 0 ? -whole : whole);
    return text;
}

} // namespace

std::string HexText(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

TrackPointLine DecodeTrackPoint(const std::string& hexText, const std::string& pointType) {
    std::uint32_t lat = 0, lon = 0, time = 0, alt = 0;
    word(hexText, 1, lat);
    word(hexText, 5, lon);
    word(hexText, 9, time);
    // A time before the epoch counts as the epoch itself.
    auto seconds = std::max<std::int32_t>(0, static_cast<std::int32_t>(time));
    sys_seconds moment = sys_days{1989y / December / 31} + std::chrono::seconds{seconds};
    sys_days day = floor<days>(moment);
    year_month_day date{day};
    hh_mm_ss clock{moment - day};
    static const std::array<const char*, 7> weekdays{"Sun", "Mon", "Tue", "Wed",
                                                     "Thu", "Fri", "Sat"};
    static const std::array<const char*, 12> months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int y = static_cast<int>(date.year());
    unsigned m = static_cast<unsigned>(date.month()), d = static_cast<unsigned>(date.day());
    auto hours = clock.hours().count(), minutes = clock.minutes().count(),
         secs = clock.seconds().count();

    char text[96];
    std::snprintf(text, sizeof text, "%02u.%02u.%02d %02d:%02d:%02d", d, m, y % 100,
                  static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(secs));
    TrackPointLine point;
    point.dateTimeText = text;
    std::snprintf(text, sizeof text, "%s %s %02u %02d:%02d:%02d %04d",
                  weekdays[weekday{day}.c_encoding()], months[m - 1], d, static_cast<int>(hours),
                  static_cast<int>(minutes), static_cast<int>(secs), y);
    point.line = "T  " + position(static_cast<std::int32_t>(lat), 'N', 'S', 2) + " " +
                 position(static_cast<std::int32_t>(lon), 'E', 'W', 3) + " " + text;
    if (pointType == "2" && word(hexText, 13, alt))
        point.line += " ;" + altitude(alt) + ";";
    return point;
}

} // namespace korvel
