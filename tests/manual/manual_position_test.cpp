#include "manual/manual_position.h"

#include <gtest/gtest.h>

using namespace korvel;

// The bars' parts make the coordinate; the degrees' sign is the hemisphere, which a position
// at 0 degrees keeps; the text rounds seconds and tenths to ten-thousandths of a minute.
TEST(ManualPosition, PartsHemisphereAndText) {
    ManualCoordinate c;
    for (auto [index, value] : {std::pair{0, -33}, {1, 53}, {2, 29}, {3, 4}})
        c.setPart(index, value);
    EXPECT_EQ(c.signedTenths(), -(((33 * 60 + 53) * 60 + 29) * 10 + 4));
    EXPECT_EQ(c.text(2, 0), "3353.4900");
    EXPECT_EQ(c.text(3, 1), "03353.4901") << "a longitude's three digits, moved on by one";
    EXPECT_EQ(c.part(0), -33);

    c.setPart(0, 0);
    EXPECT_FALSE(c.negative) << "the degrees bar at 0 stands for north or east";
    c.negative = true; // set as a whole: 0 degrees 53' south
    c.setPart(2, 59);
    EXPECT_TRUE(c.negative) << "a bar below the degrees keeps the hemisphere";
    EXPECT_EQ(c.text(2, 0), "0053.9900");
    EXPECT_EQ(c.part(0), 0);
}
