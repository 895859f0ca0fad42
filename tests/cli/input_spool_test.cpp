// A log arriving on a pipe, piece by piece, as the replay of standard input keeps it.
#include "cli/input_spool.h"
#include "support/temp_folder.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
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

// Junk on the input fills neither memory nor the disk: binary data at the start is refused as
// a binary file is, and a line that outgrows any sentence later is dropped to its end.
TEST(InputSpool, JunkIsRefusedAtTheStartAndDroppedLater) {
    std::string lines;
    for (int i = 0; i < 20; ++i)
        lines += "$GPRMC," + std::to_string(i) + "\r\n";
    struct Case {
        const char* legend;
        std::string input, file, error;
        long rmcLines;
    } cases[] = {
        {"zeros, as from /dev/zero", std::string(1 << 16, '\0'), "",
         "it holds binary data, not lines of text", 0},
        {"a control character in the first lines", "$GPRMC,1\r\n\x1b[2J$GPGGA\r\n", "",
         "it holds binary data, not lines of text", 0},
        {"an endless line after a good start",
         lines + std::string(3 << 20, 'x') + "y\r\n$GPRMC,20\r\n", lines + "$GPRMC,20\r\n", "", 21},
        {"an endless line that the end of the input ends", lines + std::string(3 << 20, '\0'),
         lines, "", 20},
    };
    std::signal(SIGPIPE, SIG_IGN); // the writer of a refused input finds no reader
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        std::thread writer([&] {
            for (size_t at = 0; at < c.input.size();) {
                ssize_t n = write(pipeEnds[1], c.input.data() + at, c.input.size() - at);
                if (n <= 0)
                    break;
                at += static_cast<size_t>(n);
            }
            close(pipeEnds[1]);
        });
        InputSpool spool(pipeEnds[0]);
        std::string error;
        ASSERT_TRUE(spool.open(error)) << error;
        bool taken = true;
        while (taken && !spool.ended())
            taken = spool.take(1000);
        close(pipeEnds[0]);
        writer.join();
        EXPECT_EQ(spool.error(), c.error);
        EXPECT_EQ(taken, c.error.empty());
        EXPECT_EQ(test::ReadFile(spool.path()), c.file);
        EXPECT_EQ(spool.rmcLines(), c.rmcLines);
    }
}
