// A download from a scripted receiver on the far end of the port, on virtual time: the
// dialogue through the download's own interface, and once as the window runs it.
#include "garmin/track_download.h"
#include "garmin_receiver/packets.h"
#include "support/replay_fixture.h"

#include <filesystem>
#include <functional>

using namespace korvel;
using namespace korvel::test;
using namespace korvel::simulated;

namespace {

std::string ack(unsigned char id) {
    return GarminPacket(0x06, std::string(1, static_cast<char>(id)) + '\0');
}

// The packets of a receiver with three points in two segments.
const std::string kProduct =
    ack(0xFE) + GarminPacket(0xFF, std::string("\x45\x01\xC8\x00", 4) +
                                       std::string("eTrex Legend Software Version 2.41\0"
                                                   "VERBMAP Americas\0",
                                                   52));
const std::string kRecords = ack(0x0A) + GarminPacket(0x1B, std::string("\x04\x00", 2));
const std::string kHeader = GarminPacket(0x63, std::string("\x01\xFF"
                                                           "ACTIVE LOG\0",
                                                           13));
const std::string kPointData[] = {PointData({52.5, 13.25, 660000000, 156.4f, true}, 21),
                                  PointData({52.51, 13.26, 660000010, 1.0e25f, false}, 21),
                                  PointData({-33.5, -70.25, 660003600, -12.6f, true}, 21)};
const std::string kComplete = GarminPacket(0x0C, std::string("\x06\x00", 2));
// The three points' packets, one after the other.
const std::string kPoints = GarminPacket(0x22, kPointData[0]) + GarminPacket(0x22, kPointData[1]) +
                            GarminPacket(0x22, kPointData[2]);

const std::string kTrack = std::string("I Korvel V") + KORVEL_VERSION +
                           "\r\n"
                           "# 06.12.2026 12:00:00  Local Time\r\n"
                           "eTrex Legend Software Version 2.41\r\n" +
                           "L  New Header: ACTIVE LOG\r\n"
                           "N  New Track Segment\r\n"
                           "T  N52 30.0000 E013 15.0000 Mon Nov 29 21:20:00 2010 ;156;\r\n"
                           "T  N52 30.6000 E013 15.6000 Mon Nov 29 21:20:10 2010 ;1e25;\r\n"
                           "N  New Track Segment\r\n"
                           "T  S33 30.0000 W070 15.0000 Mon Nov 29 22:20:00 2010 ;-13;\r\n";

class Download : public testing::Test {
  protected:
    // Starts the download into "walk.trk" (replacing a file there when it is complete).
    void start() { ASSERT_EQ(download.start(2, folder.file("walk.trk"), true), std::nullopt); }
    void receive(const std::string& bytes) {
        port.incoming.insert(port.incoming.end(), bytes.begin(), bytes.end());
        download.receive();
    }
    // What the program has sent since the last call.
    std::string sent() {
        std::string now = port.written.substr(seen_);
        seen_ = port.written.size();
        return now;
    }
    std::string track() { return ReadFile(folder.file("walk.trk")); }
    // The download has ended this way and closed the port.
    void expectEnded(DownloadResult::End end) {
        ASSERT_TRUE(result);
        EXPECT_EQ(result->end, end);
        EXPECT_FALSE(download.running());
        EXPECT_FALSE(port.isOpen());
    }

    TempFolder folder;
    FakeSerialPort port;
    VirtualClock clock;
    std::vector<std::string> listed;
    int watches = 0; // the times the watchdog was started
    std::optional<DownloadResult> result;
    TrackDownload download{port,
                           clock,
                           {.listed = [this](const std::string& line) { listed.push_back(line); },
                            .announced = {},
                            .pointsReceived = {},
                            .watch = [this](bool on) { watches += on; },
                            .ended = [this](const DownloadResult& r) { result = r; }}};

  private:
    size_t seen_ = 0;
};

} // namespace

// The dialogue, bytes in and bytes out, with a receiver that refuses a packet, sends one the
// download does not need and one damaged.
TEST_F(Download, TheDialogueByteForByte) {
    start();
    EXPECT_EQ(port.commPort(), 2);
    EXPECT_EQ(port.settings(), "9600,n,8,1");
    EXPECT_EQ(port.pausedMs, 12 * 10 + 100)
        << "a byte every 10 ms, the product request 100 ms after the first packet";
    const std::string transfer = std::string("\x10\x0A\x02\x06\x00\xEE\x10\x03", 8);
    const std::string pointAck = std::string("\x10\x06\x02\x22\x00\xD6\x10\x03", 8);
    struct Step {
        const char* legend;
        std::string in, out;
    } steps[] = {
        {"start", "", std::string("\x10\x00\x00\x00\x10\x03\x10\xFE\x00\x02\x10\x03", 12)},
        {"product data", kProduct, transfer},
        {"the receiver refuses: the last packet again", GarminPacket(0x15, "\x0A"), transfer},
        {"a capability list and the records in one event", GarminPacket(0xFD, "P") + kRecords,
         ack(0xFD) + std::string("\x10\x06\x02\x1B\x00\xDD\x10\x03", 8)},
        {"header", kHeader, std::string("\x10\x06\x02\x63\x00\x95\x10\x03", 8)},
        {"a damaged point is refused", GarminPacket(0x22, kPointData[0], 1),
         GarminPacket(0x15, std::string("\x22\x00", 2))},
        {"point 1", GarminPacket(0x22, kPointData[0]), pointAck},
        {"point 2", GarminPacket(0x22, kPointData[1]), pointAck},
        {"point 3", GarminPacket(0x22, kPointData[2]), pointAck},
        {"transfer complete: not answered", kComplete, ""},
    };
    for (const Step& step : steps) {
        receive(step.in);
        EXPECT_EQ(sent(), step.out) << step.legend;
    }
    EXPECT_TRUE(port.incoming.empty()) << "every byte received is taken";
    EXPECT_EQ(track(), kTrack);
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "eTrex Legend Software Version 2.41", "VERBMAP Americas",
                          "Product-ID: 69", "Records: 4", "New Header: ACTIVE LOG",
                          "Track 01: 29.11.10 21:20:00", "Track 02: 29.11.10 22:20:00"}));
    expectEnded(DownloadResult::End::Complete);
    EXPECT_EQ(result->line, "Transfer OK");
}

// Nothing of a download reaches the file named before the transfer is complete: an existing
// file is replaced only by a complete download.
TEST_F(Download, OnlyACompleteTransferWritesTheFileNamed) {
    folder.write("walk.trk", "precious");
    struct Ending {
        const char* legend;
        std::function<void()> end;
        DownloadResult::End how;
        const char* says; // the result's line and message
    } endings[] = {
        {"the watchdog, which a line that babbles without a packet does not hold off",
         [&] {
             int before = watches;
             receive("\x10\x22"); // a packet begins, and never ends
             receive(std::string(2000, 'x'));
             EXPECT_EQ(watches, before);
             download.timeout();
         },
         DownloadResult::End::TimedOut, "GPS-Timeout\n(ComPort=2?)"},
        {"a full disk", [&] { AsOnAFullDisk(200, [&] { receive(kPoints); }); },
         DownloadResult::End::Failed, "File too large"},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.legend);
        result.reset();
        start();
        receive(kProduct + kRecords + kHeader);
        ending.end();
        expectEnded(ending.how);
        std::string said = result->line + " | " + result->message;
        EXPECT_NE(said.find(ending.says), std::string::npos) << said;
        EXPECT_EQ(track(), "precious");
        EXPECT_EQ(folder.names(), std::vector<std::string>{"walk.trk"}) << "no temporary file";
    }
}

// Words from the wire reach the list and the file as printable characters only: an escape
// sequence would act on a terminal, a line end would forge a line of the track file.
TEST_F(Download, AHeaderKeepsOnlyItsPrintableCharacters) {
    start();
    receive(kProduct + kRecords +
            GarminPacket(0x63, std::string("\x01\xFF\x1b]0;owned\x07LOG\r\nT  forged\0", 27)));
    EXPECT_EQ(listed.back(), "New Header: ]0;ownedLOGT  forged");
    receive(kPoints + kComplete);
    expectEnded(DownloadResult::End::Complete);
    EXPECT_NE(track().find("\r\nL  New Header: ]0;ownedLOGT  forged\r\nN  "), std::string::npos)
        << track();
}

// The window's download: names and ports that cannot be used, an existing file the user would
// not replace, the watchdog on the window's clock, Escape, and a complete transfer.
class DownloadWindow : public ReplayFixture {
  protected:
    void start(const std::string& name) {
        c.Dir1.path.set(program.file("Tracks"));
        c.DownloadC.onClick();
        c.FileT.text.set(name);
        c.LOA.onClick();
    }
    void receive(const std::string& bytes) {
        platform.comm2.incoming.insert(platform.comm2.incoming.end(), bytes.begin(), bytes.end());
        platform.comm2.onReceive();
    }
    // The download has ended and the window is as before it.
    void expectEnded(const std::string& last) {
        EXPECT_FALSE(form.download().active());
        EXPECT_FALSE(platform.comm2.isOpen());
        EXPECT_FALSE(c.Timer3.enabled());
        EXPECT_TRUE(c.LOA.enabled && c.DownloadC.enabled && c.SAVE.visible);
        EXPECT_EQ(c.PortC.items.size(), 26u);
        EXPECT_EQ(c.List1.items.back(), last);
    }
};

TEST_F(DownloadWindow, FromTheNameTypedToTheTransfer) {
    start("");
    EXPECT_EQ(platform.dialogs.beeps, 1);
    EXPECT_FALSE(platform.comm2.isOpen());
    c.FileT.text.set("../escape");
    form.files().FileT_KeyDown(13);
    EXPECT_EQ(platform.dialogs.messages.back().text, "\"../escape\" is not a file name.");
    EXPECT_TRUE(form.download().active());
    platform.comm2.failOpen = true;
    c.FileT.text.set("walk.txt");
    c.LOA.onClick();
    EXPECT_EQ(platform.dialogs.messages.back().text, "COM2 cannot be opened: COM2: no such device");
    EXPECT_FALSE(std::filesystem::exists(program.file("Tracks/walk.txt")));
    platform.comm2.failOpen = false;

    program.write("Tracks/walk.trk", "precious");
    platform.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    start("walk");
    EXPECT_FALSE(platform.comm2.isOpen()) << "the user would not replace it";
    start("walk");
    receive(kProduct + kRecords + kHeader);
    platform.clock.advance(1999);
    ASSERT_TRUE(form.download().active()) << "the watchdog counts from the last packet";
    platform.clock.advance(1);
    expectEnded("GPS-Timeout: no file is written.");
    start("walk");
    form.Form_KeyDown(27, 0);
    expectEnded("Download stopped: no file is written.");
    EXPECT_EQ(ReadFile(program.file("Tracks/walk.trk")), "precious");

    start("walk");
    receive(kProduct + kRecords + kHeader);
    receive(kPoints + kComplete);
    expectEnded("Transfer OK");
    EXPECT_EQ(platform.dialogs.beeps, 2);
    std::string track = ReadFile(program.file("Tracks/walk.trk"));
    EXPECT_EQ(track.substr(track.find("eTrex")), kTrack.substr(kTrack.find("eTrex")));
}
