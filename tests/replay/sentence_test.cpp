#include "replay/sentence.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(Sentence, FrameSentenceAppendsTheChecksum) {
    struct Case {
        const char* body;
        const char* framed;
    } cases[] = {
        {"PGRMM,WGS 84", "$PGRMM,WGS 84*06"}, // below 16: a leading zero
        {"GPRMC,120000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
         "$GPRMC,120000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*64"},
        {"", "$*00"},
        {"\xff", "$\xff*FF"}, // byte values, not signed chars
    };
    for (const Case& c : cases)
        EXPECT_EQ(FrameSentence(c.body), c.framed);
}

TEST(Sentence, ExtractFieldCountsFromTheIdentifier) {
    const char* rmc = "$GPRMC,120000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
    struct Case {
        const char* line;
        int n;
        const char* field;
    } cases[] = {
        {rmc, 1, "120000"},
        {rmc, 9, "230394"},
        {rmc, 11, "W"},                               // ended by the "*"
        {rmc, 12, ""},                                // a field the line does not have
        {"$GPGGA,1,2,3,4,5,6,7,8,545.4", 9, "545.4"}, // truncated: the rest of the line
        {"$GPGGA,1,2,3,4,5,6,7,8,", 9, ""},
        {"", 3, ""},
        {"$PXYZ,a*b,c", 1, "a*b"}, // a "*" counts only in the last field
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractField(c.line, c.n), c.field) << c.line << " field " << c.n;
}
