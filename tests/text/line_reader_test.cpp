#include "support/temp_folder.h"
#include "text/line_reader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
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
    LineReader reader;
    EXPECT_FALSE(reader.open("/no/such/folder/no such file"));
    EXPECT_TRUE(reader.eof());
}

TEST(LineReader, LinesAndEndingsAcrossBlocks) {
    // The CR ends one block, the LF starts the next.
    std::string first(LineReader::kBlock - 1, 'a'), cut = first.substr(0, LineReader::kMaxLine);
    EXPECT_EQ(readAll(first + "\r\nb"), (Lines{cut, "b"}));
    EXPECT_EQ(readAll(first + "\rb"), (Lines{cut, "b"}));
    // Random files of short and long lines with every kind of ending, against a plain
    // byte-by-byte split.
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string content;
        while (content.size() < 3 * LineReader::kBlock) {
            const char* endings[] = {"\r\n", "\n", "\r"};
            size_t length = random() % 8 == 0 ? random() % 100000 : random() % 90;
            content += std::string(length, static_cast<char>('a' + round));
            content += endings[random() % 3];
        }
        Lines expected(1);
        std::vector<long long> starts = {0};
        for (size_t i = 0; i < content.size(); ++i) {
            if (content[i] == '\r' || content[i] == '\n') {
                i += content.compare(i, 2, "\r\n") == 0;
                expected.emplace_back();
                starts.push_back(static_cast<long long>(i + 1));
            } else if (expected.back().size() < LineReader::kMaxLine) {
                expected.back() += content[i];
            }
        }
        expected.pop_back(); // after the last ending
        starts.pop_back();
        test::TempFolder folder;
        std::string path = folder.write("lines.txt", content);
        LineReader reader;
        ASSERT_TRUE(reader.open(path));
        for (size_t line = 0; line < expected.size(); ++line) {
            ASSERT_EQ(reader.position(), starts[line]) << "round " << round << " line " << line;
            ASSERT_EQ(reader.readLine(), expected[line]) << "round " << round << " line " << line;
        }
        EXPECT_TRUE(reader.eof());
        // A stretch read apart begins with the first line that starts at or after its offset,
        // whatever byte the offset falls on.
        for (int stretch = 0; stretch < 20; ++stretch) {
            auto offset = static_cast<long long>(random() % (content.size() + 1));
            auto first = std::lower_bound(starts.begin(), starts.end(), offset) - starts.begin();
            ASSERT_TRUE(reader.openAtLineFrom(path, offset));
            for (auto line = static_cast<size_t>(first); line < expected.size(); ++line) {
                ASSERT_EQ(reader.position(), starts[line]) << "from " << offset;
                ASSERT_EQ(reader.readLine(), expected[line]) << "from " << offset;
            }
            EXPECT_TRUE(reader.eof()) << "from " << offset;
        }
    }
}
