// A download from a scripted receiver on the far end of Comm2, on virtual time.
#include "support/garmin_packets.h"
#include "support/garmin_receiver.h"
#include "support/replay_fixture.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>

using namespace korvel;
using namespace korvel::test;

namespace {

const std::string kStart = std::string("\x10\x00\x00\x00\x10\x03\x10\xFE\x00\x02\x10\x03", 12);
const std::string kTransferCommand = std::string("\x10\x0A\x02\x06\x00\xEE\x10\x03", 8);
const std::string kRecordsAck = std::string("\x10\x06\x02\x1B\x00\xDD\x10\x03", 8);
const std::string kHeaderAck = std::string("\x10\x06\x02\x63\x00\x95\x10\x03", 8);
const std::string kPointAck = std::string("\x10\x06\x02\x22\x00\xD6\x10\x03", 8);

std::string ack(unsigned char id) {
    return GarminPacket(0x06, std::string(1, static_cast<char>(id)) + '\0');
}

// The dialogue of a receiver with three points in two segments, packet by packet.
const std::vector<std::string> kReceiver = {
    ack(0xFE) + GarminPacket(0xFF, std::string("\x45\x01\xC8\x00", 4) +
                                       std::string("eTrex Legend Software Version 2.41\0"
                                                   "VERBMAP Americas\0",
                                                   52)),
    ack(0x0A) + GarminPacket(0x1B, std::string("\x04\x00", 2)),
    GarminPacket(0x63, std::string("\x01\xFF"
                                   "ACTIVE LOG\0",
                                   13)),
    GarminPacket(0x22, PointData({52.5, 13.25, 660000000, 156.4f, true}, 21)),
    GarminPacket(0x22, PointData({52.51, 13.26, 660000010, 1.0e25f, false}, 21)),
    GarminPacket(0x22, PointData({-33.5, -70.25, 660003600, -12.6f, true}, 21)),
    GarminPacket(0x0C, std::string("\x06\x00", 2)),
};

const std::string kTrack = std::string("I Korvel V") + KORVEL_VERSION +
                           "\r\n"
                           "# 06.12.2026 12:00:00  Local Time\r\n"
                           "eTrex Legend Software Version 2.41\r\n" +
                           std::string("L  New Header: ACTIVE LOG\0\r\n", 28) +
                           "N  New Track Segment\r\n"
                           "T  N52 30.0000 E013 15.0000 Mon Nov 29 21:20:00 2010 ;156;\r\n"
                           "T  N52 30.6000 E013 15.6000 Mon Nov 29 21:20:10 2010 ;1e25;\r\n"
                           "N  New Track Segment\r\n"
                           "T  S33 30.0000 W070 15.0000 Mon Nov 29 22:20:00 2010 ;-13;\r\n";

class Download : public ReplayFixture {
  protected:
    // Confirms the download and starts it into the named file.
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
    // What the program has sent since the last call.
    std::string sent() {
        std::string now = platform.comm2.written.substr(seen_);
        seen_ = platform.comm2.written.size();
        return now;
    }
    std::string track() { return ReadFile(program.file("Tracks/walk.trk")); }

  private:
    size_t seen_ = 0;
};

} // namespace

TEST_F(Download, ConfirmingTurnsTheWindowToDownloading) {
    s.garminPortIndex = 1;
    c.DownloadC.onClick();
    EXPECT_EQ(s.downloadMode, 1);
    EXPECT_FALSE(c.SAVE.visible || c.NMEA.visible || c.ALL.visible || c.TRACK.visible);
    EXPECT_EQ(c.focus, "FileT");
    EXPECT_EQ(c.FileT.text.get(), "");
    EXPECT_FALSE(c.DownloadC.enabled);
    EXPECT_EQ(c.LOA.toolTip, "Start Download");
    EXPECT_EQ(c.PortC.items.size(), 16u) << "only the serial ports can be chosen";
    EXPECT_EQ(c.PortC.text(), "COM2");
    EXPECT_EQ(c.PortC.backColor, 192u);
    EXPECT_EQ(platform.comm2.commPort(), 2);
    // Choosing a port now chooses the receiver's, not the output's.
    c.PortC.listIndex.set(4);
    EXPECT_EQ(s.garminPortIndex, 4);
    EXPECT_EQ(platform.comm2.commPort(), 5);
    EXPECT_EQ(s.outputPortIndex, 0);
    // An entry beyond the serial ports, which a list may still show, is not taken.
    c.PortC.listIndex.set(25);
    EXPECT_EQ(s.garminPortIndex, 4);
    EXPECT_EQ(c.PortC.listIndex.get(), 4);
    // A click in the file list names the file to write instead of loading one.
    program.write("Tracks/old.trk", "I Korvel V0.1.0\r\n");
    c.Dir1.path.set(program.file("Tracks"));
    c.File1.setPattern("*.trk");
    c.File1.listIndex = 0;
    c.File1.onClick();
    EXPECT_EQ(c.FileT.text.get(), "old.trk");
    EXPECT_EQ(s.replayActive, 0);
}

// The window's double-click ends download mode, before a download and during one, and gives
// the window back as it was.
TEST_F(Download, ADoubleClickEndsDownloadMode) {
    std::vector<std::string> ports = c.PortC.items;
    for (bool running : {false, true}) {
        SCOPED_TRACE(running ? "during a download" : "before it starts");
        if (running)
            start("walk.trk");
        else
            c.DownloadC.onClick();
        ASSERT_EQ(s.downloadMode, 1);
        form.Form_DblClick();
        EXPECT_EQ(s.downloadMode, 0);
        EXPECT_TRUE(c.SAVE.visible && c.NMEA.visible && c.ALL.visible && c.TRACK.visible);
        EXPECT_TRUE(c.DownloadC.enabled && c.Skip1.enabled && c.LOA.enabled);
        EXPECT_EQ(c.PortC.items, ports);
        EXPECT_FALSE(platform.comm2.isOpen());
        EXPECT_FALSE(c.Timer3.enabled());
    }
    EXPECT_FALSE(std::filesystem::exists(program.file("Tracks/walk.trk")));
}

TEST_F(Download, AnsweringNoChangesNothing) {
    platform.dialogs.answers.push_back(MessageAnswer::No);
    c.PortC.listIndex.set(23);
    std::vector<std::string> ports = c.PortC.items;
    c.DownloadC.onClick();
    EXPECT_EQ(s.downloadMode, 0);
    EXPECT_EQ(c.PortC.items, ports);
    EXPECT_EQ(c.PortC.text(), "TCP");
    EXPECT_TRUE(c.SAVE.visible && c.DownloadC.enabled);
    EXPECT_EQ(platform.dialogs.messages.at(0).title, "  Tracklog-Download");
}

TEST_F(Download, AWholeTrackLogPacketByPacket) {
    start("walk");
    EXPECT_TRUE(platform.comm2.isOpen());
    EXPECT_EQ(platform.comm2.settings(), "9600,n,8,1");
    EXPECT_EQ(sent(), kStart);
    EXPECT_TRUE(c.Timer3.enabled());
    EXPECT_FALSE(c.LOA.enabled);

    const std::string answers[] = {kTransferCommand, kRecordsAck, kHeaderAck,
                                   kPointAck,        kPointAck,   kPointAck};
    for (size_t i = 0; i < std::size(answers); ++i) {
        receive(kReceiver[i]);
        EXPECT_EQ(sent(), answers[i]) << "packet " << i;
        EXPECT_TRUE(c.Timer3.enabled()) << "waiting for the receiver again";
    }
    EXPECT_EQ(c.Gauge2.max, 4);
    EXPECT_EQ(c.Gauge2.value, 3);
    receive(kReceiver.back());
    EXPECT_EQ(sent(), "") << "the transfer-complete packet is not answered";

    EXPECT_EQ(track(), kTrack);
    EXPECT_EQ(c.List1.items,
              (std::vector<std::string>{
                  "eTrex Legend Software Version 2.41", "VERBMAP Americas", "Product-ID: 69",
                  "Records: 4", std::string("New Header: ACTIVE LOG\0", 23),
                  "Track 01: 29.11.10 21:20:00", "Track 02: 29.11.10 22:20:00", "Transfer OK"}));
    EXPECT_EQ(c.List1.listIndex, 7);
    EXPECT_EQ(platform.dialogs.beeps, 1);
    EXPECT_EQ(c.PortC.backColor, 49344u);
    EXPECT_EQ(s.downloadMode, 0);
    EXPECT_FALSE(platform.comm2.isOpen());
    EXPECT_FALSE(c.Timer3.enabled());
    EXPECT_TRUE(c.LOA.enabled && c.DownloadC.enabled && c.SAVE.visible);
    EXPECT_EQ(c.PortC.items.size(), 26u);
    EXPECT_EQ(c.LOA.toolTip, "Load Fileselection");
    EXPECT_TRUE(platform.dialogs.messages.size() == 1) << "the confirmation only";
}

TEST_F(Download, ASilentReceiverTimesOut) {
    start("walk");
    receive(kReceiver[0] + kReceiver[1]);
    platform.clock.advance(1999);
    ASSERT_EQ(s.downloadMode, 1) << "the watchdog counts from the last byte";
    platform.clock.advance(2000);
    ASSERT_EQ(platform.dialogs.messages.size(), 2u);
    EXPECT_EQ(platform.dialogs.messages[1].text, "GPS-Timeout\n(ComPort=2?)");
    EXPECT_EQ(platform.dialogs.messages[1].title, " Error !");
    EXPECT_FALSE(std::filesystem::exists(program.file("Tracks/walk.trk")));
    EXPECT_EQ(s.downloadMode, 0);
    EXPECT_FALSE(platform.comm2.isOpen());
    EXPECT_FALSE(c.Timer3.enabled());
    EXPECT_TRUE(c.LOA.enabled && c.DownloadC.enabled);
    platform.clock.advance(10000);
    EXPECT_EQ(platform.dialogs.messages.size(), 2u) << "one message";
}

TEST_F(Download, PacketsItDoesNotNeedAreAcknowledgedAndTheDialogueGoesOn) {
    start("walk");
    sent();
    // A capability list after the product data, in the same receive event.
    receive(kReceiver[0] + GarminPacket(0xFD, "P\x00\x00"));
    EXPECT_EQ(sent(), kTransferCommand + ack(0xFD));
    EXPECT_TRUE(platform.comm2.incoming.empty()) << "every byte received is taken";
    EXPECT_TRUE(c.Timer3.enabled());
}

TEST_F(Download, ADamagedPacketIsAskedForAgain) {
    start("walk");
    receive(kReceiver[0] + kReceiver[1] + kReceiver[2]);
    sent();
    std::string point = PointData({52.5, 13.25, 660000000, 156.4f, true}, 21);
    receive(GarminPacket(0x22, point, 1));
    EXPECT_EQ(sent(), GarminPacket(0x15, std::string("\x22\x00", 2))) << "refused, not answered";
    for (size_t i = 3; i < kReceiver.size(); ++i)
        receive(kReceiver[i]);
    EXPECT_EQ(c.List1.items.back(), "Transfer OK");
    EXPECT_EQ(track(), kTrack) << "the damaged packet left no trace";
}

TEST_F(Download, TheReceiversRefusalIsAnsweredWithTheLastPacketAgain) {
    start("walk");
    receive(kReceiver[0]);
    sent();
    receive(GarminPacket(0x15, std::string("\x0A\x00", 2)));
    EXPECT_EQ(sent(), kTransferCommand);
}

TEST_F(Download, NamesPortsAndFilesThatCannotBeUsed) {
    c.Dir1.path.set(program.file("Tracks"));
    c.DownloadC.onClick();
    c.FileT.text.set("");
    c.LOA.onClick();
    EXPECT_EQ(platform.dialogs.beeps, 1);
    EXPECT_EQ(c.focus, "FileT");
    EXPECT_FALSE(platform.comm2.isOpen());

    c.FileT.text.set("../escape");
    form.FileT_KeyDown(13);
    EXPECT_EQ(platform.dialogs.messages.back().text, "\"../escape\" is not a file name.");
    EXPECT_EQ(s.downloadMode, 1);

    platform.comm2.failOpen = true;
    c.FileT.text.set("walk.txt");
    c.LOA.onClick();
    EXPECT_EQ(platform.dialogs.messages.back().text, "COM2 cannot be opened: COM2: no such device");
    EXPECT_EQ(s.downloadMode, 0);
    EXPECT_FALSE(c.Timer3.enabled());
    EXPECT_TRUE(c.LOA.enabled && c.DownloadC.enabled);
    EXPECT_FALSE(std::filesystem::exists(program.file("Tracks/walk.txt")));
}

// Nothing of a download reaches the file named before the transfer is complete: an existing
// file is replaced only by a complete download, and only when the user agreed.
TEST_F(Download, OnlyACompleteTransferWritesTheFileNamed) {
    program.write("Tracks/walk.trk", "precious");
    platform.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    start("walk");
    EXPECT_FALSE(platform.comm2.isOpen()) << "the user would not replace it";
    c.LOA.onClick(); // the default answer: replace
    ASSERT_TRUE(platform.comm2.isOpen());
    struct Ending {
        const char* legend;
        std::function<void()> end;
        const char* listed;
    } endings[] = {
        {"Escape", [&] { form.Form_KeyDown(27, 0); }, "Download stopped: no file is written."},
        {"the watchdog", [&] { platform.clock.advance(2000); }, "GPS-Timeout: no file is written."},
        {"fewer records than announced", [&] { receive(kReceiver[3] + kReceiver.back()); },
         "The download is incomplete: the receiver announced 4 records and sent 2."},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.legend);
        if (s.downloadMode == 0)
            start("walk");
        receive(kReceiver[0] + kReceiver[1] + kReceiver[2]);
        ending.end();
        EXPECT_EQ(s.downloadMode, 0);
        EXPECT_EQ(c.List1.items.back(), ending.listed);
        EXPECT_EQ(track(), "precious");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program.file("Tracks")),
                                std::filesystem::directory_iterator()),
                  1)
            << "no temporary file is left";
    }
    start("walk");
    for (const std::string& packet : kReceiver)
        receive(packet);
    EXPECT_EQ(c.List1.items.back(), "Transfer OK");
    EXPECT_EQ(track().substr(track().find("eTrex")), kTrack.substr(kTrack.find("eTrex")));
}

TEST_F(Download, AReceiversWholeLogInTwoSegments) {
    for (int size : {13, 24}) {
        SCOPED_TRACE(size);
        GarminReceiver receiver({.points = 300, .pointSize = size});
        start("walk");
        ASSERT_TRUE(platform.comm2.isOpen());
        // The receiver hears everything the program sent and answers at once.
        for (std::string heard = platform.comm2.written; s.downloadMode == 1;) {
            std::string answer = receiver.hear(heard);
            ASSERT_FALSE(answer.empty()) << "the receiver waits for nothing";
            size_t before = platform.comm2.written.size();
            receive(answer);
            heard = platform.comm2.written.substr(before);
        }
        EXPECT_TRUE(receiver.finished());
        EXPECT_GT(receiver.doubledDles(), 0);
        EXPECT_EQ(c.List1.items.back(), "Transfer OK");
        std::string track = ReadFile(program.file("Tracks/walk.trk"));
        EXPECT_EQ(track.substr(track.find("\r\n# ") + 2 + 35), receiver.expectedTrack());
        EXPECT_EQ(c.Gauge2.max, 301);
        platform.comm2.written.clear();
    }
}

TEST_F(Download, AFullDiskEndsTheDownloadAtOnce) {
    // The process may write no file beyond 200 bytes: as on a full disk, writes fail.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 200;
    start("walk");
    setrlimit(RLIMIT_FSIZE, &small);
    for (size_t i = 0; i < kReceiver.size() && s.downloadMode == 1; ++i)
        receive(kReceiver[i]);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(s.downloadMode, 0);
    ASSERT_EQ(platform.dialogs.messages.size(), 2u);
    EXPECT_NE(platform.dialogs.messages[1].text.find("File too large"), std::string::npos)
        << platform.dialogs.messages[1].text;
    EXPECT_FALSE(std::filesystem::exists(program.file("Tracks/walk.trk")));
    EXPECT_FALSE(platform.comm2.isOpen());
    EXPECT_FALSE(c.Timer3.enabled());
    EXPECT_NE(c.List1.items.back(), "Transfer OK");
}
