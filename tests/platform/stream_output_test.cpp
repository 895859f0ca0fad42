// The pseudo-terminal's link: whose it is and when it is taken.
#include "platform/posix/link_claim.h"
#include "platform/posix/posix_stream_devices.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvel;

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
