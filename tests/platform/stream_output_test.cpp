// The pseudo-terminal destination with a real reader, and its link.
#include "platform/posix/posix_stream_devices.h"
#include "real_form.h"
#include "replay/sentence.h"
#include "support/terminal.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace korvel;
using test::RunUntil;

namespace {

std::string rmc(int second) {
    return FrameSentence("GPRMC," + std::to_string(120000 + second) +
                         ",A,4807.038,N,01131.000,E,000.0,084.4,151225,,,A");
}

} // namespace

// A reader who comes late gets the current sentences, whole, not a backlog of old ones.
TEST(StreamOutput, ALateReaderOfThePseudoTerminalGetsCurrentSentences) {
    test::TempFolder links;
    std::string link = links.file("gps0");
    test::RealForm app("[Devices]\nPTY=" + link + "\n");
    app.choose("PTY");
    app.form->c.Data[2].value.set(0);
    std::string log;
    for (int i = 0; i < 30; ++i)
        log += rmc(i) + "\r\n";
    app.form->s.replayInterval = 100;
    app.replay("late.log", log);
    ASSERT_EQ(app.form->s.replayActive, 1);
    EXPECT_EQ(app.form->c.PortL.toolTip, app.platform->pty.slavePath() + " (" + link + ")");
    RunUntil([] { return false; }, 2500);
    int reader = test::OpenRawReader(link);
    ASSERT_GE(reader, 0);
    std::string got;
    RunUntil(
        [&] {
            test::ReadWaiting(reader, got);
            return app.form->s.replayActive == 0;
        },
        20000);
    ::close(reader);
    ASSERT_FALSE(got.empty());
    size_t from = log.find(got.substr(0, got.find("\r\n") + 2));
    ASSERT_NE(from, std::string::npos) << "a whole sentence first: " << got.substr(0, 40);
    EXPECT_EQ(log.substr(from), got) << "every later sentence, whole and in order";
    EXPECT_GT(from, log.find(rmc(5))) << "not the sentences of two seconds ago";
}

// The link is the pseudo-terminal's only while it runs: a second program does not take it over,
// a link left by an earlier run is renewed, and anything else at that path is the user's.
TEST(StreamOutput, ThePseudoTerminalsLinkIsTakenOnlyWhenFree) {
    namespace fs = std::filesystem;
    test::TempFolder links;
    std::string link = links.file("gps0"), error;
    {
        PosixPseudoTerminal first, second;
        ASSERT_TRUE(first.open(link, error)) << error;
        EXPECT_FALSE(second.open(link, error));
        EXPECT_NE(error.find("another running Korvel"), std::string::npos) << error;
        EXPECT_EQ(fs::read_symlink(link), first.slavePath());
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the link goes with its terminal";

    fs::create_symlink("/dev/pts/9999", link); // left by a run that ended without cleaning up
    {
        PosixPseudoTerminal renewed;
        EXPECT_TRUE(renewed.open(link, error)) << error;
        EXPECT_EQ(fs::read_symlink(link), renewed.slavePath());
    }
    std::string mine = links.write("mine", "x");
    fs::create_symlink(mine, link);
    PosixPseudoTerminal refused;
    EXPECT_FALSE(refused.open(link, error));
    EXPECT_EQ(fs::read_symlink(link), mine);
}
