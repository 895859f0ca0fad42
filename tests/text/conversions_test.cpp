#include "text/conversions.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iomanip>
#include <limits>
#include <random>
#include <string>

using namespace korvel;

TEST(Conversions, ValReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"  -12.5abc", -12.5},
        {"abc", 0},
        {"", 0},
        {"1e25", 1e25},
        {"4807.038", 4807.038},
        {"+3", 3},
        {".5", 0.5},
        {"-.25x", -0.25},
        {"\t7,5", 7},
        {"12.", 12},
        {"-", 0},
        {".", 0},
        {"2e", 2},
        {"2e-3", 0.002},
        {"1E+2", 100},
        {"1e999", 0},
        {"00123", 123},
        {"- 5", 0},
        {"022.4", 22.4},
        {"9 9", 9},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Conversions, ValAgreesWithTheCLibraryOnRandomNumbers) {
    std::mt19937_64 random(3);
    const char* signs[] = {"", "-", "+", " "};
    for (int i = 0; i < 200000; ++i) {
        std::string digits = std::to_string(random() % 10000000000000000000ull);
        digits.resize(1 + random() % digits.size());
        if (random() % 4 != 0)
            digits.insert(random() % (digits.size() + 1), ".");
        if (i % 50 == 0)
            digits += "e" + std::to_string(static_cast<int>(random() % 40) - 20);
        std::string text = signs[i % 4] + digits + (i % 3 == 0 ? ",N" : "");
        ASSERT_EQ(Val(text), std::strtod(text.c_str(), nullptr)) << text;
    }
}

TEST(Conversions, IntAndRound) {
    struct Case {
        double x, intValue, roundValue;
    } cases[] = {
        {2.5, 2, 2},   {3.5, 3, 4},  {-2.5, -3, -2}, {-3.5, -4, -4}, {0.49999, 0, 0},
        {-0.1, -1, 0}, {2.51, 2, 3}, {7, 7, 7},      {-7, -7, -7},   {1e20, 1e20, 1e20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Int(c.x), c.intValue) << c.x;
        EXPECT_EQ(Round(c.x), c.roundValue) << c.x;
    }
    // The whole number as written, found without writing: random values and the values just
    // below whole numbers, which the 15 digits written round up.
    std::mt19937_64 random(11);
    std::vector<double> values = {0, -0.0, 1e20, -1e20, 99.99999999999999, -0.000000000000001};
    for (int i = 0; i < 20000; ++i) {
        double whole = static_cast<double>(static_cast<int64_t>(random() % 2000000) - 1000000);
        values.push_back(std::nextafter(whole, -1e300));
        values.push_back(std::nextafter(whole, 1e300));
        values.push_back(whole + std::ldexp(static_cast<double>(random() % 1000), -40));
        values.push_back(
            std::ldexp(static_cast<double>(random()), -static_cast<int>(random() % 80)));
    }
    for (double x : values)
        ASSERT_EQ(IntOfStr(x), Int(Val(Str(x)))) << std::setprecision(17) << x;
    // Whatever a file holds, the whole number fits.
    EXPECT_EQ(ToInt(-2.9), -2);
    EXPECT_EQ(ToInt(1e11), 2147483647);
    EXPECT_EQ(ToInt(-1e300), -2147483647 - 1);
    EXPECT_EQ(ToInt(std::nan("")), 0);
}

TEST(Conversions, StrWritesTheSignBlank) {
    struct Case {
        double x;
        const char* text;
    } cases[] = {
        {3, " 3"},
        {-2, "-2"},
        {0, " 0"},
        {0.5, " .5"},
        {-0.25, "-.25"},
        {1855, " 1855"},
        {12.75, " 12.75"},
        {0.1 + 0.2, " .3"},
        {1.0 / 3, " .333333333333333"},
        {123456789012345, " 123456789012345"},
        {1e25, " 1E+25"},
        {-4807.038, "-4807.038"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.x), c.text) << c.x;
}

namespace {

// Format's rule spelled out: |x| to 15 significant digits, rounded half away from zero at the
// pattern's decimals, with the pattern's whole digits at least.
std::string formatByDigits(double x, int wholeDigits, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", std::fabs(x));
    std::string digits = std::string(1, text[0]) + std::string(text + 2, 14);
    int exponent = std::atoi(text + 17);
    // The digits as a whole number of 10^-decimals, rounding the first digit dropped.
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

} // namespace

TEST(Conversions, FormatAgreesWithItsRuleOnRandomValues) {
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
    }
}

TEST(Conversions, FormatPadsAndRoundsHalvesAwayFromZero) {
    struct Case {
        double x;
        const char* pattern;
        const char* text;
    } cases[] = {
        {2.5, "0", "3"},
        {3.5, "0", "4"},
        {-2.5, "0", "-3"},
        {7, "00", "07"},
        {123, "00", "123"},
        {5, "000", "005"},
        {59.9999, "00", "60"},
        {7, "0000", "0007"},
        {12.25, "0.0", "12.3"},
        {0.04, "0.0", "0.0"},
        {0.05, "0.0", "0.1"},
        {-0.04, "0.0", "0.0"},
        {2.675, "0.00", "2.68"},
        {5.0387, "00.000", "05.039"},
        {7.0385, "00.000", "07.039"},
        {59.99951, "00.000", "60.000"},
        {0, "00.000", "00.000"},
        {999.96, "0.0", "1000.0"},
        {1e20, "0", "100000000000000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(c.x, c.pattern), c.text) << c.x << " " << c.pattern;
}

TEST(Conversions, SubstringsCountFromOneAndAreSafe) {
    struct Case {
        std::string got, expected;
    } cases[] = {
        {Mid("$GPRMC,1", 2, 5), "GPRMC"},
        {Mid("abc", 2), "bc"},
        {Mid("abc", 4, 1), ""},
        {Mid("abc", 2, 99), "bc"},
        {Mid("", 1, 1), ""},
        {Mid("abc", 0, 2), "ab"},
        {Mid("abc", 2, 0), ""},
        {Left("abc", 2), "ab"},
        {Left("abc", 9), "abc"},
        {Left("abc", -1), ""},
        {Left("", 3), ""},
        {Right("abc", 2), "bc"},
        {Right("abc", 9), "abc"},
        {Right("", 1), ""},
        {Trim("  a b  "), "a b"},
        {Trim("   "), ""},
        {Trim(""), ""},
        {Trim("x"), "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);
    EXPECT_EQ(InStr(1, "a,b,c", ","), 2);
    EXPECT_EQ(InStr(3, "a,b,c", ","), 4);
    EXPECT_EQ(InStr(5, "a,b,c", ","), 0);
    EXPECT_EQ(InStr(99, "a,b,c", ","), 0);
}

// Users run with a locale whose decimal separator is a comma; positions must keep their point.
TEST(Conversions, DecimalPointWhateverTheLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the test set-up generates the de_DE.UTF-8 locale";
    EXPECT_DOUBLE_EQ(Val("4807.038"), 4807.038);
    EXPECT_EQ(Val("12,5"), 12);
    EXPECT_EQ(Format(12.25, "0.0"), "12.3");
    EXPECT_EQ(Format(5.0387, "00.000"), "05.039");
    EXPECT_EQ(Str(-0.25), "-.25");
    std::setlocale(LC_ALL, "C");
}
