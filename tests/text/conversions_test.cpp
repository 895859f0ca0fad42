#include "text/conversions.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <iomanip>
#include <random>
#include <string>

using namespace korvel;

// What a file's fields are read as, and how numbers are rounded; how they are written is checked
// against the rules on random values below.
TEST(Conversions, ReadingAndRoundingNumbers) {
    for (auto [text, value] : {std::pair{"  -12.5abc", -12.5},
                               {"abc", 0},
                               {"-.25x", -0.25},
                               {"\t7,5", 7},
                               {"2e", 2},
                               {"1E+2", 100},
                               {"1e999", 0},
                               {"- 5", 0}})
        EXPECT_DOUBLE_EQ(Val(text), value) << '"' << text << '"';
    // Int goes down, Round to the even neighbour, ToInt toward zero and within int's range.
    for (auto [x, down, even] :
         {std::tuple{2.5, 2, 2}, {3.5, 3, 4}, {-2.5, -3, -2}, {-0.1, -1, 0}}) {
        EXPECT_EQ(Int(x), down) << x;
        EXPECT_EQ(Round(x), even) << x;
    }
    EXPECT_EQ(ToInt(-2.9), -2);
    EXPECT_EQ(ToInt(1e11), 2147483647);
    EXPECT_EQ(ToInt(std::nan("")), 0);
    EXPECT_EQ(Mid("$GPRMC,1", 2, 5), "GPRMC");
    EXPECT_EQ(Mid("abc", 4, 1) + Left("abc", -1) + Right("", 1), "");
    EXPECT_EQ(InStr(3, "a,b,c", ","), 4);
}

namespace {

// Format's rule spelled out: |x| to 15 significant digits, rounded half away from zero at the
// pattern's decimals, with the pattern's whole digits at least.
std::string formatByDigits(double x, int wholeDigits, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", std::fabs(x));
    std::string digits = std::string(1, text[0]) + std::string(text + 2, 14);
    int exponent = std::atoi(text + 17);
    long keep = exponent + 1 + decimals;
    std::string kept = keep <= 0 ? "0" : (digits + std::string(30, '0')).substr(0, keep);
    long long n = std::stoll(kept);
    if (keep >= 0 && keep < 15 && digits[keep] >= '5')
        ++n;
    std::string out = std::to_string(n);
    out.insert(0, std::max<long>(0, wholeDigits + decimals - static_cast<long>(out.size())), '0');
    if (decimals > 0)
        out.insert(out.size() - decimals, ".");
    if (x < 0 && n != 0)
        out.insert(0, "-");
    return out;
}

// x in fifteen significant digits, as the classic number-to-text conversion writes it: a blank
// for the sign of a positive number, no zero before the point, a capital E.
std::string classicText(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15G", x);
    std::string out = text;
    if (out.starts_with("0.") || out.starts_with("-0."))
        out.erase(out.find('0'), 1);
    return x < 0 || out.starts_with("-") ? out : " " + out;
}

} // namespace

// The fast paths agree with the rules on random values: Format and FormatUnits with the digits
// as written, Str with the classic conversion, IntOfStr with the whole number of the text Str
// writes, KnotsText with Plain.
TEST(Conversions, FastPathsAgreeWithTheRulesOnRandomValues) {
    std::mt19937_64 random(5);
    const char* patterns[] = {"0", "00", "0.0", "0.000", "00.000", "0.00000", "0.000000"};
    for (int i = 0; i < 100000; ++i) {
        double x = std::ldexp(static_cast<double>(random() % 100000000) - 50000000,
                              -static_cast<int>(random() % 40));
        // Halves, too: the values a conversion writes at once are often exact halves.
        if (i % 10 == 0)
            x = (static_cast<double>(random() % 2000000) - 1000000 + 0.5) / 1000;
        std::string_view pattern = patterns[i % 7];
        size_t point = pattern.find('.');
        int decimals =
            point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
        int whole = static_cast<int>(point == std::string_view::npos ? pattern.size() : point);
        std::string shown = formatByDigits(x, whole, decimals);
        ASSERT_EQ(Format(x, pattern), shown) << std::setprecision(17) << x << " " << pattern;
        std::erase(shown, '.');
        ASSERT_EQ(FormatUnits(x, decimals), std::stoll(shown)) << std::setprecision(17) << x;
        // Just below a whole number the 15 digits written round up.
        double near = std::nextafter(std::round(x), -1e300);
        ASSERT_EQ(IntOfStr(near), Int(Val(Str(near)))) << std::setprecision(17) << near;
        ASSERT_EQ(IntOfStr(x), Int(Val(Str(x)))) << std::setprecision(17) << x;
        // Courses: whole degrees, and any other number.
        double course = i % 2 ? static_cast<double>(random() % 1200) : x;
        ASSERT_EQ(CourseText(course), formatByDigits(course, 3, 0))
            << std::setprecision(17) << course;
        auto tenths = static_cast<double>(random() % 10000000);
        std::string knots = Plain(tenths / 10);
        ASSERT_EQ(KnotsText(tenths), knots.starts_with(".") ? "0" + knots : knots) << tenths;
        // Numbers of one to four decimals, such as a speed in tenths, a hair from them (a unit
        // of the sixteenth digit, a few of the fifteenth), and any other.
        double few = static_cast<double>(static_cast<long long>(random() % 2000000) - 1000000) /
                     std::pow(10, i % 4 + 1);
        for (double value : {x, few, few * 1e8, few * 0.3048, std::nextafter(few, 1e300),
                             few * (1 + 3e-15), few * (1 - 7e-15)}) {
            ASSERT_EQ(Str(value), classicText(value)) << std::setprecision(17) << value;
            ASSERT_EQ(Plain(value), Trim(classicText(value))) << std::setprecision(17) << value;
        }
    }
}

// Users run with a locale whose decimal separator is a comma; positions must keep their point.
TEST(Conversions, DecimalPointWhateverTheLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the test set-up generates the de_DE.UTF-8 locale";
    EXPECT_DOUBLE_EQ(Val("4807.038"), 4807.038);
    EXPECT_EQ(Format(5.0387, "00.000"), "05.039");
    EXPECT_EQ(Str(-0.25), "-.25");
    std::setlocale(LC_ALL, "C");
}
