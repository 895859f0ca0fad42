#include "text/byte_search.h"

#include <gtest/gtest.h>

#include <string>

using namespace korvel;

TEST(ByteSearch, TheFirstOfEitherByteWhereverItLies) {
    // Every length around the sixteen-byte steps, the bytes sought at every place, searched
    // from every start, against a plain loop.
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t place = 0; place <= length; ++place) {
            std::string text(length, 'x');
            if (place < length)
                text[place] = place % 2 ? '\r' : '\n';
            if (place + 7 < length)
                text[place + 7] = '\n';
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
        }
    }
}
