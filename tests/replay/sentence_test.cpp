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
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractField(c.line, c.n), c.field) << c.line << " field " << c.n;
        // The fields up to n, and more, in one pass.
        std::string_view upTo[13], more[13];
        FieldViews(c.line, std::span(upTo, static_cast<size_t>(c.n) + 1));
        FieldViews(c.line, more);
        EXPECT_EQ(upTo[c.n], c.field) << c.line << " field " << c.n << " in one pass";
        EXPECT_EQ(more[c.n], c.field) << c.line << " field " << c.n << " in one pass";
    }
}

// Blanks and tabs a logger left after a checksum go; a sentence without one keeps its last field.
TEST(Sentence, BlanksAfterTheChecksumGo) {
    for (auto [line, sent] : {std::pair{"$GPGSV,1,1,00*79 \t ", "$GPGSV,1,1,00*79"},
                              {"!AIVDM,1,1,,B,1,0*24\t", "!AIVDM,1,1,,B,1,0*24"},
                              {"$PGRMM,WGS 84 ", "$PGRMM,WGS 84 "},
                              {"*4 ", "*4 "}})
        EXPECT_EQ(WithoutBlanksAfterChecksum(line), sent) << '"' << line << '"';
}
