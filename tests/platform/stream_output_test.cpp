// The pseudo-terminal destination with a real reader, and its link.
#include "platform/posix/link_claim.h"
#include "platform/posix/posix_stream_devices.h"
#include "real_outputs.h"
#include "replay/sentence.h"
#include "support/terminal.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
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
    test::RealOutputs out("PTY=" + link + "\n", "PTY");
    ASSERT_FALSE(out.outputs.open());
    EXPECT_EQ(out.outputs.ptyWhere(), out.machine.pty.slavePath() + " (" + link + ")");
    std::vector<std::string> sentences;
    for (int i = 0; i < 30; ++i)
        sentences.push_back(rmc(i));
    out.stream(sentences, 100);
    RunUntil([] { return false; }, 2500);
    int reader = test::OpenRawReader(link);
    ASSERT_GE(reader, 0);
    std::string got;
    RunUntil(
        [&] {
            test::ReadWaiting(reader, got);
            return out.next >= sentences.size();
        },
        20000);
    out.timer.stop();
    test::ReadWaiting(reader, got);
    ::close(reader);
    std::string log;
    for (const std::string& sentence : sentences)
        log += sentence + "\r\n";
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

// Another user on the machine can neither block a link's name with a claim of their own nor
// have a reader take their link for this user's: each user claims names in a folder of their
// own, and a link another user made is said to be theirs.
TEST(StreamOutput, AnotherUsersClaimOrLinkIsNotThisUsers) {
    namespace fs = std::filesystem;
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can act as a second user";
    constexpr uid_t kNobody = 65534;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string savedRuntime = runtime ? runtime : "";
    unsetenv("XDG_RUNTIME_DIR");
    test::TempFolder links;
    chmod(links.path().c_str(), 01777); // shared, as /tmp
    std::string squatted = links.file("gps0"), planted = links.file("gps1"), error, why;
    ASSERT_EQ(seteuid(kNobody), 0);
    int theirClaim = ClaimLinkName(squatted, why);
    auto theirs = std::make_unique<PosixPseudoTerminal>();
    bool made = theirs->open(planted, error);
    ASSERT_EQ(seteuid(0), 0);
    ASSERT_GE(theirClaim, 0) << why;
    ASSERT_TRUE(made) << error;

    PosixPseudoTerminal mine, refused;
    EXPECT_TRUE(mine.open(squatted, error)) << "another user's claim blocks nothing: " << error;
    EXPECT_FALSE(refused.open(planted, error));
    EXPECT_EQ(error, "the link " + planted + " belongs to another user");
    EXPECT_EQ(fs::read_symlink(planted), theirs->slavePath()) << "theirs stays theirs";
    ASSERT_EQ(seteuid(kNobody), 0);
    theirs.reset();
    ASSERT_EQ(seteuid(0), 0);
    close(theirClaim);
    if (!savedRuntime.empty())
        setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
}
