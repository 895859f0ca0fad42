#include "text/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace korvel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t skipDigits(std::string_view text, size_t i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// The significant decimal digits of |x| rounded to 15 places, and the power of ten of the
// first: the decimal value the conversions below work on, so that 2.675 is 2.675 and not
// 2.67499999....
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double x) {
    char buf[64];
    // The shortest digits that give x back are its 15-digit rounding whenever there are no more
    // than 15 of them (and they come much faster); otherwise round to 15.
    auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
    if (std::string_view(buf, static_cast<size_t>(result.ptr - buf)).find('e') > 16)
        result =
            std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    std::string_view text(buf, static_cast<size_t>(result.ptr - buf));
    size_t e = text.find('e');
    Decimal d;
    for (char c : text.substr(0, e))
        if (isDigit(c))
            d.digits += c;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(),
                    d.exponent);
    return d;
}

// digits holds |x| times 10^decimals: pads it to the pattern's digits, sets the decimal point
// and the sign.
std::string pad(std::string_view digits, size_t intDigits, int decimals, double x) {
    size_t point = static_cast<size_t>(decimals);
    size_t shown = std::max(digits.size(), intDigits + point);
    size_t zeros = shown - digits.size();
    bool minus = x < 0 && digits.find_first_not_of('0') != std::string_view::npos;
    // Sized once and written in place: a course or a distance is padded for every record.
    std::string text(minus + shown + (point > 0), '-');
    char* out = text.data() + minus;
    for (size_t i = 0; i < shown; ++i) {
        if (point > 0 && i == shown - point)
            *out++ = '.';
        *out++ = i < zeros ? '0' : digits[i - zeros];
    }
    return text;
}

// |x| in units of its last decimal shown, rounded as Format rounds it, when that can be told
// from the number itself: most values lie far from a half at that decimal, and their 15 digits
// (within 5e-15 of the value) and the value itself then round alike.
std::optional<long long> quickUnits(double x, int decimals) {
    static constexpr double kScale[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    if (decimals < 0 || decimals > 6 || !(std::fabs(x) * kScale[decimals] < 1e9))
        return std::nullopt;
    double scaled = std::fabs(x) * kScale[decimals];
    double below = std::floor(scaled);
    if (std::fabs(scaled - below - 0.5) <= 1e-5)
        return std::nullopt;
    return static_cast<long long>(below) + (scaled - below > 0.5 ? 1 : 0);
}

} // namespace

long long FormatUnits(double x, int decimals) {
    if (std::optional<long long> units = quickUnits(x, decimals))
        return x < 0 ? -*units : *units;
    std::string shown =
        Format(x, decimals > 0 ? "0." + std::string(static_cast<size_t>(decimals), '0') : "0");
    if (size_t point = shown.find('.'); point != std::string::npos)
        shown.erase(point, 1);
    return static_cast<long long>(Val(shown));
}

double Val(std::string_view text) {
    const char *p = text.data(), *end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    const char* start = p;
    // The digits as one whole number, taken while they are found: exact for up to 15 of them.
    unsigned long long whole = 0;
    auto scan = [&] {
        const char* from = p;
        for (unsigned digit; p < end && (digit = static_cast<unsigned char>(*p - '0')) < 10; ++p)
            whole = whole * 10 + digit;
        return static_cast<size_t>(p - from);
    };
    size_t digits = scan(), decimals = 0;
    if (p < end && *p == '.') {
        ++p;
        decimals = scan();
        digits += decimals;
    }
    if (digits == 0)
        return 0;
    const char* numberEnd = p;
    if (p < end && (*p == 'e' || *p == 'E')) {
        size_t e = static_cast<size_t>(p - text.data()) + 1;
        if (e < text.size() && (text[e] == '-' || text[e] == '+'))
            ++e;
        size_t exponentEnd = skipDigits(text, e);
        if (exponentEnd > e)
            numberEnd = text.data() + exponentEnd;
    }
    double value = 0;
    if (numberEnd == p && digits <= 15) {
        // As nearly every field: one division of two exact numbers, correctly rounded.
        static constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        value = static_cast<double>(whole) / kPowers[decimals];
    } else if (std::from_chars(start, numberEnd, value).ec != std::errc()) {
        return 0;
    }
    return negative ? -value : value;
}

double Int(double x) {
    return std::floor(x);
}

int ToInt(double x) {
    if (std::isnan(x))
        return 0;
    return static_cast<int>(std::clamp(x, static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

double Round(double x) {
    double lower = std::floor(x);
    double diff = x - lower;
    if (diff != 0.5)
        return diff < 0.5 ? lower : lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

namespace {

// Whether a number is whole and written with its digits alone (no exponent, no "-0").
bool writtenWhole(double x) {
    // Compared with its whole part as a whole number: a speed or an altitude nearly always is one.
    return std::fabs(x) < 1e15 && static_cast<double>(static_cast<long long>(x)) == x &&
           !(x == 0 && std::signbit(x));
}

// x as the general conversion writes it, when its fifteen significant digits are those of a
// number of one to four decimals (a speed in tenths, feet in metres): that number's digits,
// written directly at text, and the end of them. x must lie within a fifth of a unit of the
// fifteenth digit from it, so that the rounding errors here (a few in the sixteenth) cannot
// decide. Null for any other x.
char* writeFewDecimals(double x, char* text) {
    static constexpr double kTens[] = {1e-4, 1e-3, 1e-2, 1e-1, 1,   1e1, 1e2, 1e3,
                                       1e4,  1e5,  1e6,  1e7,  1e8, 1e9, 1e10};
    double magnitude = std::fabs(x);
    if (!(magnitude >= kTens[0] && magnitude < 1e11))
        return nullptr;
    size_t e = 0;
    while (e + 1 < std::size(kTens) && kTens[e + 1] <= magnitude)
        ++e;
    // In ten-thousandths; a rounding that misses by one fails the test below, and the general
    // conversion takes x.
    double scaled = x * 1e4;
    long long k = static_cast<long long>(scaled + (scaled < 0 ? -0.5 : 0.5));
    if (!(std::fabs(static_cast<double>(k) / 1e4 - x) < kTens[e] * 2e-15))
        return nullptr;
    size_t decimals = 4;
    for (; decimals > 0 && k % 10 == 0; --decimals)
        k /= 10;
    if (decimals == 0)
        return nullptr; // nearly whole: the general conversion decides
    char digits[24];
    size_t count = static_cast<size_t>(
        std::to_chars(digits, digits + sizeof digits, k < 0 ? -k : k).ptr - digits);
    if (k < 0)
        *text++ = '-';
    size_t whole = count > decimals ? count - decimals : 0;
    text = std::copy(digits, digits + whole, text);
    // No zero before the point, as the classic conversion writes it.
    *text++ = '.';
    if (count < decimals)
        text = std::fill_n(text, decimals - count, '0');
    return std::copy(digits + whole, digits + count, text);
}

// A whole number of up to fifteen digits (writtenWhole) as the classic conversion writes it:
// its digits, with or without the blank of a positive sign. Speeds and altitudes are written
// so for every record, straight from their digits.
std::string wholeText(double x, bool signBlank) {
    char whole[24] = {' '};
    char* first = whole + (signBlank && !(x < 0));
    return std::string(whole,
                       std::to_chars(first, whole + sizeof whole, static_cast<long long>(x)).ptr);
}

// Any other x as the classic number-to-text conversion writes it: up to 15 significant digits,
// no zero before the point, a capital E; a positive number with or without the blank of its
// sign.
std::string classicText(double x, bool signBlank) {
    // Written into place and made a string once.
    char quick[64];
    char* first = quick + (signBlank && !(x < 0));
    quick[0] = ' ';
    if (char* end = writeFewDecimals(x, first))
        return std::string(quick, end);
    std::string text(quick, first);
    char digits[64];
    char* end =
        std::to_chars(digits, digits + sizeof digits, x, std::chars_format::general, 15).ptr;
    std::string_view general(digits, static_cast<size_t>(end - digits));
    size_t start = text.size();
    if (general.starts_with("-")) {
        text += '-';
        general.remove_prefix(1);
    }
    if (general.starts_with("0."))
        general.remove_prefix(1);
    text += general;
    std::replace(text.begin() + static_cast<long>(start), text.end(), 'e', 'E');
    return text;
}

} // namespace

std::string Str(double x) {
    return writtenWhole(x) ? wholeText(x, true) : classicText(x, true);
}

std::string Plain(double x) {
    return writtenWhole(x) ? wholeText(x, false) : classicText(x, false);
}

std::string KnotsText(double tenths) {
    if (!(tenths >= 0 && tenths < 1e14 && tenths == std::floor(tenths))) {
        std::string text = Plain(tenths / 10);
        return text.starts_with(".") ? "0" + text : text;
    }
    // Its digits, the last after a point unless it is 0: what Plain writes of tenths / 10,
    // whose fifteen digits are those of the tenths.
    auto whole = static_cast<long long>(tenths);
    char text[24];
    char* end = std::to_chars(text, text + 20, whole / 10).ptr;
    if (whole % 10 != 0) {
        *end++ = '.';
        *end++ = static_cast<char>('0' + whole % 10);
    }
    return std::string(text, end);
}

std::string CourseText(double degrees) {
    if (!(degrees >= 0 && degrees < 1000 && degrees == std::floor(degrees)))
        return Format(degrees, "000");
    auto whole = static_cast<unsigned>(degrees);
    const char text[] = {static_cast<char>('0' + whole / 100),
                         static_cast<char>('0' + whole / 10 % 10),
                         static_cast<char>('0' + whole % 10)};
    return std::string(text, sizeof text);
}

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i)
        text += (i ? "," : "") + fields[i];
    return text;
}

std::string Printable(std::string_view text) {
    std::string kept;
    for (char ch : text) {
        auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte != 0x7F && (byte < 0x80 || byte >= 0xA0))
            kept += ch;
    }
    return kept;
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::string_view TrimWhiteSpace(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return "";
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

std::string_view TrimView(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return "";
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

std::string Format(double x, std::string_view pattern) {
    size_t point = pattern.find('.');
    size_t intDigits = point == std::string_view::npos ? pattern.size() : point;
    int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    if (!std::isfinite(x))
        return Trim(Str(x));

    if (x == std::floor(x) && std::fabs(x) < 1e15 && decimals <= 16) {
        // A whole number, as most are (days, hours, degrees, courses): its digits are exact,
        // and its decimals zeros.
        char whole[48];
        char* end = std::to_chars(whole, whole + 24, static_cast<long long>(std::fabs(x))).ptr;
        end = std::fill_n(end, decimals, '0');
        return pad(std::string_view(whole, static_cast<size_t>(end - whole)), intDigits, decimals,
                   x);
    }
    if (std::optional<long long> rounded = quickUnits(x, decimals)) {
        char whole[24];
        char* end = std::to_chars(whole, whole + sizeof whole, *rounded).ptr;
        return pad(std::string_view(whole, static_cast<size_t>(end - whole)), intDigits, decimals,
                   x);
    }
    std::string digits;
    // Keep the digits down to the last decimal shown, rounding the first one dropped.
    Decimal d = toDecimal(x);
    long keep = d.exponent + 1 + decimals;
    if (keep >= static_cast<long>(d.digits.size())) {
        digits = d.digits + std::string(keep - d.digits.size(), '0');
    } else if (keep >= 0) {
        digits = d.digits.substr(0, keep);
        if (d.digits[keep] >= '5') {
            long i = keep - 1;
            for (; i >= 0 && digits[i] == '9'; --i)
                digits[i] = '0';
            if (i >= 0)
                ++digits[i];
            else
                digits.insert(digits.begin(), '1');
        }
    }
    return pad(digits, intDigits, decimals, x);
}

std::string Mid(std::string_view text, long start, long length) {
    return std::string(MidView(text, start, length));
}

std::string Left(std::string_view text, long length) {
    return length <= 0 ? "" : std::string(text.substr(0, static_cast<size_t>(length)));
}

std::string Right(std::string_view text, long length) {
    if (length <= 0)
        return "";
    size_t n = std::min(text.size(), static_cast<size_t>(length));
    return std::string(text.substr(text.size() - n));
}

long InStr(long start, std::string_view text, std::string_view what) {
    if (start < 1)
        start = 1;
    size_t from = static_cast<size_t>(start - 1);
    if (from > text.size())
        return 0;
    size_t found = text.find(what, from);
    return found == std::string_view::npos ? 0 : static_cast<long>(found + 1);
}

} // namespace korvel
