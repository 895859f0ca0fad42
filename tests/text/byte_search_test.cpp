#include "text/byte_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

using namespace korvel;

TEST(ByteSearch, TheFirstBytesSoughtWhereverTheyLie) {
    // Every length around the sixteen-byte steps, the bytes sought at every place, searched
    // from every start, against a plain loop.
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t place = 0; place <= length; ++place) {
            std::string text(length, 'x');
            if (place < length)
                text[place] = place % 2 ? '\r' : '\n';
            if (place + 7 < length)
                text[place + 7] = '\n';
            if (place + 20 < length)
                text[place + 20] = '\n';
            for (size_t from = 0; from <= length; ++from) {
                size_t expected = from;
                while (expected < length && text[expected] != '\r' && text[expected] != '\n')
                    ++expected;
                ASSERT_EQ(FindEither(text, from, '\r', '\n'), expected)
                    << "length " << length << " place " << place << " from " << from;
                size_t newline = text.find('\n', from);
                ASSERT_EQ(FindByte(text, from, '\n'),
                          newline == std::string::npos ? length : newline);
            }
            // The first, second and third LF from any start.
            for (size_t n = 1; n <= 3; ++n)
                for (size_t from = 0; from <= length; ++from) {
                    size_t expected = from, seen = 0;
                    while (expected < length && !(text[expected] == '\n' && ++seen == n))
                        ++expected;
                    ASSERT_EQ(FindNth(text, from, '\n', n), expected)
                        << "length " << length << " place " << place << " from " << from;
                }
            // The first two LFs at once, the second one's place beyond the end when missing.
            std::array<size_t, 2> both = FindFirst<2>(text, '\n');
            size_t first = std::min(text.find('\n'), length);
            ASSERT_EQ(both[0], first) << "length " << length << " place " << place;
            ASSERT_EQ(both[1],
                      first < length ? std::min(text.find('\n', first + 1), length) : length);
        }
    }
}
