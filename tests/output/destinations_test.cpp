// The destinations of a run through their own interface, on doubles of the hardware: what each
// takes, what is told as sent, and what fails, told once.
#include "output/outputs.h"
#include "platform/posix/file_printers.h"
#include "support/temp_folder.h"
#include "support/virtual_platform.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace korvel;
using test::ReadFile;

namespace {

class Destinations : public testing::Test {
  protected:
    // Routes the stream to entry and opens it; the failure when it cannot be opened.
    std::optional<OutputFailure> open(const std::string& entry) {
        outputs.route(entry);
        return outputs.open();
    }
    // The one failure told since the last call.
    std::string toldOnce() {
        std::vector<OutputFailure> told = outputs.takeFailures();
        EXPECT_EQ(told.size(), 1u);
        return told.empty() ? "" : told[0].text;
    }

    test::TempFolder folder;
    test::VirtualPlatform platform;
    Outputs outputs{platform.platform};
};

const std::string kLine = "$GPGSV,1,1,00*79\r\n";

} // namespace

// The sentences told as sent (the headless runner's echo) are those a destination took.
TEST_F(Destinations, OnlyWhatADestinationTookIsToldAsSent) {
    int told = 0;
    outputs.onTaken = [&told](const std::string&) { ++told; };
    struct Case {
        const char* legend;
        std::function<void()> arrange;
        int told;
    } cases[] = {
        {"a closed serial port", [&] { outputs.route("COM1"); }, 0},
        {"an open serial port", [&] { open("COM1"); }, 1},
        {"a serial device that has gone", [&] { platform.comm1.failOutput = true; }, 0},
        {"a printer port", [&] { open("LPT1"); }, 1},
        {"a printer port that fails", [&] { platform.printers.fail = true; }, 0},
        {"TCP without a client", [&] { open("TCP"); }, 0},
        {"TCP with a client", [&] { platform.winsock.onConnectionRequest(0, 11); }, 1},
    };
    for (const Case& c : cases) {
        c.arrange();
        told = 0;
        outputs.send(kLine);
        EXPECT_EQ(told, c.told) << c.legend;
    }
}

TEST_F(Destinations, DirectUartWritesEachByteWithAPause) {
    open("Port2");
    outputs.send(kLine);
    ASSERT_EQ(platform.portIO.writes.size(), kLine.size());
    for (size_t i = 0; i < kLine.size(); ++i) {
        EXPECT_EQ(platform.portIO.writes[i].address, 760);
        EXPECT_EQ(platform.portIO.writes[i].value, static_cast<unsigned char>(kLine[i]));
        EXPECT_EQ(platform.portIO.writes[i].gapMs, 2);
    }
    platform.portIO.writes.clear();
    platform.portIO.allowed = false;
    open("Port1");
    outputs.send(kLine);
    outputs.send(kLine);
    EXPECT_TRUE(platform.portIO.writes.empty());
    EXPECT_NE(toldOnce().find("not available"), std::string::npos);
}

TEST_F(Destinations, APrinterDeviceGetsEachSentenceOnce) {
    std::string device = folder.write("lp0", "");
    FilePrinters printers([&](const std::string& name) {
        return name == "LPT1" ? device : folder.file("no/such/lp");
    });
    test::VirtualPlatform& p = platform;
    Platform real{p.comm1, p.comm2,   p.winsock, p.portIO, printers,
                  p.clock, p.dialogs, p.host,    p.pty,    p.udp};
    Outputs printing(real);
    printing.route("LPT1");
    printing.send(kLine);
    printing.send("$GPGSA,A,1*1E\r\n");
    EXPECT_EQ(ReadFile(device), kLine + "$GPGSA,A,1*1E\r\n");
    printing.route("LPT2"); // cannot be opened
    for (int i = 0; i < 3; ++i)
        printing.send(kLine);
    std::vector<OutputFailure> told = printing.takeFailures();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].text.find("no/such/lp"), std::string::npos);
}

// A printer entry is written to only when it is a printer (a character device) or a file that
// is empty or holds NMEA lines: a disk or a file of other data is refused and left as it was.
TEST_F(Destinations, APrinterEntryNeverWritesOverADiskOrAFile) {
    std::string disk = folder.file("disk");
    bool haveDisk = mknod(disk.c_str(), S_IFBLK | 0600, makedev(7, 0)) == 0;
    struct Case {
        std::string device;
        const char* refusal; // nullptr: taken
    } cases[] = {{"/dev/null", nullptr},
                 {folder.write("empty", ""), nullptr},
                 {folder.write("nmea", kLine), nullptr},
                 {folder.write("precious", "my thesis"), "holds other data than NMEA"},
                 {disk, "no printer"}};
    for (const Case& c : cases) {
        if (c.device == disk && !haveDisk)
            continue; // no device nodes can be made here
        FilePrinters printers([&](const std::string&) { return c.device; });
        std::string error;
        EXPECT_EQ(printers.probe("LPT1", error), c.refusal == nullptr) << c.device << ": " << error;
        if (c.refusal) {
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
        }
    }
    EXPECT_EQ(ReadFile(folder.file("precious")), "my thesis");
}

// Several destinations get the same stream: one that cannot be opened keeps the run from
// starting, one that fails later is told once and the others go on.
TEST_F(Destinations, SeveralGetTheSameStreamAndAFailureCostsTheOthersNothing) {
    outputs.settings.alsoTo = {"UDP", "LPT1"};
    platform.udp.failResolve = true;
    std::optional<OutputFailure> unresolved = open("COM1");
    ASSERT_TRUE(unresolved);
    EXPECT_NE(unresolved->text.find("UDP"), std::string::npos);

    platform.udp.failResolve = false;
    ASSERT_FALSE(open("COM1"));
    outputs.send(kLine);
    platform.comm1.failOutput = true; // the serial adapter is pulled out
    outputs.send(kLine);
    outputs.send(kLine);
    EXPECT_NE(toldOnce().find("COM1"), std::string::npos);
    EXPECT_TRUE(outputs.anyFailed());
    EXPECT_FALSE(outputs.everyFailed());
    EXPECT_EQ(platform.udp.datagrams.size(), 3u);
    EXPECT_EQ(platform.printers.jobs["LPT1"].size(), 3u);
}
