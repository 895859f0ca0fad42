#include "support/temp_folder.h"
#include "text/line_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace korvel;

namespace {

// Each call has a folder of its own: tests run side by side.
std::vector<std::string> readAll(const std::string& content) {
    test::TempFolder folder;
    std::string path = folder.write("lines.txt", content);
    LineReader reader;
    EXPECT_TRUE(reader.open(path));
    std::vector<std::string> lines;
    while (!reader.eof())
        lines.push_back(reader.readLine());
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(LineReader, EndsLinesAtCrLfLfOrLoneCr) {
    struct Case {
        std::string content;
        Lines lines;
    } cases[] = {
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb\r", {"a", "", "b"}},
        {"", {}},
        {std::string("\xb0\xe9\0x", 4), {std::string("\xb0\xe9\0x", 4)}},
        {"\xef\xbb\xbf$GPRMC\r\n", {"$GPRMC"}}, // a byte-order mark first is no text
        {"a\xef\xbb\xbf", {"a\xef\xbb\xbf"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readAll(c.content), c.lines) << c.content;
    // The CR ends one block, the LF starts the next.
    std::string first(LineReader::kBlock - 1, 'a'), cut = first.substr(0, LineReader::kMaxLine);
    EXPECT_EQ(readAll(first + "\r\nb"), (Lines{cut, "b"}));
    EXPECT_EQ(readAll(first + "\rb"), (Lines{cut, "b"}));
    LineReader reader;
    EXPECT_FALSE(reader.open("/no/such/folder/no such file"));
    EXPECT_TRUE(reader.eof());
}
