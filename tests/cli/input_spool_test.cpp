// A log arriving on a pipe, piece by piece, as the replay of standard input keeps it.
#include "cli/input_spool.h"
#include "support/temp_folder.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace korvel;

// The file holds whole lines only, a CR LF is never cut in two, and the count of lines that
// start with an RMC sentence follows; the end of the input brings the rest, and the file goes
// with the run.
TEST(InputSpool, WholeLinesAsTheyCome) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    std::string folder;
    {
        InputSpool spool(pipeEnds[0]);
        std::string error;
        ASSERT_TRUE(spool.open(error)) << error;
        folder = std::filesystem::path(spool.path()).parent_path().string();
        struct Step {
            const char *piece, *file;
            long rmcLines;
        } steps[] = {
            {"$GPRMC,1\r", "", 0}, // the LF may yet come
            {"\n$GPGGA,1\r\n$GPR", "$GPRMC,1\r\n$GPGGA,1\r\n", 1},
            {"MC,2\r$GPRMC,3\r", "$GPRMC,1\r\n$GPGGA,1\r\n$GPRMC,2\r", 2},
            {"x", "$GPRMC,1\r\n$GPGGA,1\r\n$GPRMC,2\r$GPRMC,3\r", 3},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.piece);
            ssize_t length = static_cast<ssize_t>(std::strlen(step.piece));
            ASSERT_EQ(write(pipeEnds[1], step.piece, static_cast<size_t>(length)), length);
            ASSERT_TRUE(spool.take(1000));
            EXPECT_EQ(test::ReadFile(spool.path()), step.file);
            EXPECT_EQ(spool.rmcLines(), step.rmcLines);
            EXPECT_FALSE(spool.ended());
        }
        close(pipeEnds[1]);
        ASSERT_TRUE(spool.take(1000));
        EXPECT_TRUE(spool.ended());
        EXPECT_EQ(test::ReadFile(spool.path()), "$GPRMC,1\r\n$GPGGA,1\r\n$GPRMC,2\r$GPRMC,3\rx");
    }
    close(pipeEnds[0]);
    EXPECT_FALSE(std::filesystem::exists(folder)) << "the copy goes with the run";
}
