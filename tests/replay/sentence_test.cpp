#include "replay/sentence.h"
#include "replay/text_sentences.h"

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

// A marker's text leaves as valid TXT sentences, however long and whatever it holds, and is
// read back as it was typed; a TXT as older recordings wrote it reads as all after its name.
TEST(Sentence, TextSentencesCarryAnyTextAndReadBack) {
    const std::string texts[] = {
        "48.09575 N 011.63658 E \"abc\"",
        "",
        "$GPRMC,*00! a,b\\c^d~e\r\n" +
            std::string("Stra\xc3\x9f"
                        "e ") +
            std::string(150, 'x'),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        std::vector<std::string> sentences = TextSentences(text);
        std::string read = "left from before";
        for (size_t i = 0; i < sentences.size(); ++i) {
            const std::string& sentence = sentences[i];
            EXPECT_LE(sentence.size() + 2, 82u) << sentence;
            EXPECT_EQ(CheckChecksum(sentence), Checksum::Right) << sentence;
            EXPECT_EQ(sentence.find_first_of("$!", 1), std::string::npos) << sentence;
            EXPECT_EQ(ExtractField(sentence, 1),
                      (sentences.size() < 10 ? "0" : "") + std::to_string(sentences.size()));
            EXPECT_EQ(std::stoul(ExtractField(sentence, 2)), i + 1);
            ReadTextSentence(sentence, read);
        }
        EXPECT_EQ(read, text);
    }
    EXPECT_EQ(TextSentences(std::string(150, 'x')).size(), 3u);
    std::string read;
    ReadTextSentence("$GPTXT,48.09575,N,011.63658,E,\"abc\"", read);
    EXPECT_EQ(read, "48.09575,N,011.63658,E,\"abc\"");
}
