#include "support/temp_folder.h"
#include "text/line_reader.h"
#include "text/line_sweep.h"

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

namespace {

// Lines of every length up to a little over two looks of the sweep, with every ending, some
// with a "$" or "!" behind their first byte; then one whose CR ends a block.
std::string linesCutAnywhere() {
    const char* endings[] = {"\r\n", "\n", "\r"};
    std::string content;
    unsigned seed = 7;
    while (content.size() < 3 * LineReader::kBlock) {
        seed = seed * 1103515245 + 12345;
        std::string line(seed >> 16 & 37, 'a' + static_cast<char>(seed % 26));
        if (!line.empty() && seed % 5 == 0)
            line[seed % line.size()] = "$!"[seed >> 8 & 1];
        content += line + endings[(seed >> 4) % 3];
    }
    return content + std::string(4 * LineReader::kBlock - content.size() - 1, 'b') + "\r\nlast";
}

// Read a block at a time, the lines are those read one by one, wherever the blocks cut them;
// each line a surveying sweep finds comes with the XOR of its bytes and whether a sentence may
// start after its first byte.
template <bool survey> void expectSweptAsReadAlone(const std::string& path) {
    LineReader swept, alone;
    ASSERT_TRUE(swept.open(path));
    ASSERT_TRUE(alone.open(path));
    size_t sweptLines = 0, lines = 0;
    for (; !swept.eof(); ++lines) {
        size_t taken = SweepLines<survey>(
            swept.buffered(), SIZE_MAX, [&](std::string_view line, const LineSurvey& found) {
                ASSERT_EQ(line, alone.nextLine());
                unsigned x = 0;
                for (char c : line)
                    x ^= static_cast<unsigned char>(c);
                if (survey) {
                    EXPECT_EQ(found.xorOfBytes, x) << line;
                    EXPECT_EQ(found.sentenceMarks, line.find_first_of("$!", 1) != line.npos);
                }
                ++sweptLines, ++lines;
            });
        swept.skip(taken);
        ASSERT_EQ(swept.nextLine(), alone.nextLine());
    }
    EXPECT_TRUE(alone.eof());
    EXPECT_GT(sweptLines, lines * 99 / 100) << "the lines within a block are swept";
}

} // namespace

TEST(LineReader, ABlockSweptGivesTheLinesReadOneByOne) {
    test::TempFolder folder;
    std::string path = folder.write("lines.txt", linesCutAnywhere());
    expectSweptAsReadAlone<true>(path);
    expectSweptAsReadAlone<false>(path);
}
