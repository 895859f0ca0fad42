#include "text/conversions.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

using namespace korvel;

// What a file's fields are read as, how numbers are rounded, and how they are written: from
// their fifteen significant digits, halves away from zero.
TEST(Conversions, NumbersReadRoundedAndWritten) {
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
    for (auto [x, pattern, text] : {std::tuple{2.5, "0", "3"},
                                    {-2.5, "0", "-3"},
                                    {0.0005, "0.000", "0.001"},
                                    {-0.0004, "0.000", "0.000"}})
        EXPECT_EQ(Format(x, pattern), text) << x << " " << pattern;
    EXPECT_EQ(FormatUnits(12.345, 2), 1235) << "12.345 is a hair below it in binary";
    EXPECT_EQ(CourseText(359.5) + CourseText(-0.4) + CourseText(84.5), "360000085");
    EXPECT_EQ(KnotsText(5) + " " + KnotsText(123) + " " + KnotsText(0), "0.5 12.3 0");
    EXPECT_EQ(Str(0.5) + Str(-0.25) + Str(1e20) + Str(0.1 + 0.2), " .5-.25 1E+20 .3");
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
