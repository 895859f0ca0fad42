// Text and number conversions in the terms the simulator's rules are written in: positions in
// texts count from 1, every access is safe on short texts, and "." is always the decimal point,
// whatever the locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// Leading number of a text: blanks skipped, a sign and an exponent accepted, 0 when there is
// none (or when it does not fit in a double).
double Val(std::string_view text);
// Toward minus infinity: -2.5 gives -3.
double Int(double x);
// Whole part as an int, toward zero; beyond int's range the nearest end of it, NaN 0. For
// numbers read from files, which may hold anything.
int ToInt(double x);
// Halves to the even neighbour: 2.5 gives 2, 3.5 gives 4.
double Round(double x);
// Number as text, up to 15 significant digits, no zero before the point and a leading blank
// when not negative: " 3", "-2", " .5", "-.25".
std::string Str(double x);
// Number as text without the sign blank: "3", "-2", ".5".
std::string Plain(double x);
// A speed in knots of a whole number of tenths, as Plain writes tenths / 10 but with a 0 before
// a leading point: "12.3", "12", "0.5".
std::string KnotsText(double tenths);
// A course as the sentences carry it, in three digits: what Format(degrees, "000") writes, at
// once for the whole degrees every course is ("007", "360").
std::string CourseText(double degrees);
// The comma-separated fields of a text; a text without commas is one field.
std::vector<std::string> SplitFields(const std::string& text);
// The fields joined with commas again.
std::string JoinFields(const std::vector<std::string>& fields);
// The text without control characters (C0, DEL and C1): words from a wire that may reach a
// terminal or a line of a file, where an escape sequence or a line end would act.
std::string Printable(std::string_view text);
// Leading and trailing blanks removed.
std::string Trim(std::string_view text);
std::string_view TrimView(std::string_view text);
// Blanks, tabs and line ends removed at both ends.
std::string_view TrimWhiteSpace(std::string_view text);
// Zero patterns such as "0", "00", "0000", "0.0", "00.000": pads with zeros and rounds to the
// digits shown, halves away from zero.
std::string Format(double x, std::string_view pattern);
// x as Format shows it with that many decimals, counted in units of the last one:
// FormatUnits(-1.2345, 3) is -1235, FormatUnits(2.5, 0) is 3.
long long FormatUnits(double x, int decimals);
// 0 to 99 with a leading zero, as clocks and dates show their parts: "07". Inline, as the
// replay writes a few of them for every record.
inline std::string TwoDigits(long long n) {
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}
// Whether text holds count digits from `from` on.
inline bool DigitsAt(std::string_view text, size_t from, size_t count) {
    if (from > text.size() || text.size() - from < count)
        return false;
    for (size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}
// The number of a field of two characters, such as the hours of a time: read directly when
// both are digits, as nearly always, else as Val reads it.
inline double TwoDigitValue(std::string_view text) {
    return text.size() == 2 && DigitsAt(text, 0, 2) ? (text[0] - '0') * 10 + text[1] - '0'
                                                    : Val(text);
}
// Substrings counted from 1; a start past the end gives "", a negative length (the default)
// runs to the end.
std::string Mid(std::string_view text, long start, long length = -1);
// In place; inline, as the columns of a track's every point are cut with it.
inline std::string_view MidView(std::string_view text, long start, long length = -1) {
    size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    if (from >= text.size() || length == 0)
        return {};
    return text.substr(from, length < 0 ? std::string_view::npos : static_cast<size_t>(length));
}
std::string Left(std::string_view text, long length);
std::string Right(std::string_view text, long length);
// 1-based position of what at or after start, 0 when absent.
long InStr(long start, std::string_view text, std::string_view what);

} // namespace korvel
