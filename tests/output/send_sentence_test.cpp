#include "platform/posix/file_printers.h"
#include "support/replay_fixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace korvel;
using test::ReadFile;

namespace {

class Output : public test::ReplayFixture {
  protected:
    void choose(const std::string& entry) {
        auto found = std::find(c.PortC.items.begin(), c.PortC.items.end(), entry);
        ASSERT_NE(found, c.PortC.items.end());
        c.PortC.listIndex.set(static_cast<int>(found - c.PortC.items.begin()));
    }
    std::string send(std::string sentence) {
        form.ports().SendSentence(sentence);
        return sentence;
    }
    // A client connects: the listener reports the request.
    void connectClient(long id) { platform.winsock.onConnectionRequest(0, id); }
};

const std::string kLine = "$GPGSV,1,1,00*79";

} // namespace

// The sentences told as sent (the headless runner's echo) are those a destination took.
TEST_F(Output, OnlyWhatADestinationTookIsToldAsSent) {
    int told = 0;
    form.ports().outputs().onTaken = [&told](const std::string&) { ++told; };
    std::string error;
    struct Case {
        const char* legend;
        std::function<void()> arrange;
        int told;
    } cases[] = {
        {"a closed serial port", [&] { choose("COM1"); }, 0},
        {"an open serial port", [&] { platform.comm1.open(error); }, 1},
        {"a serial device that has gone", [&] { platform.comm1.failOutput = true; }, 0},
        {"a printer port", [&] { choose("LPT1"); }, 1},
        {"a printer port that fails", [&] { platform.printers.fail = true; }, 0},
        {"TCP without a client", [&] { choose("TCP"); }, 0},
        {"TCP with a client", [&] { connectClient(11); }, 1},
    };
    for (const Case& c : cases) {
        c.arrange();
        told = 0;
        send(kLine);
        EXPECT_EQ(told, c.told) << c.legend;
    }
}

TEST_F(Output, BaudRateChangeReopensAnOpenPort) {
    SelectOption(c.Pspeed, 1); // closed: only the settings change
    EXPECT_EQ(platform.comm1.settings(), "9600,n,8,1");
    EXPECT_EQ(platform.comm1.opens, 0);
    std::string error;
    platform.comm1.open(error);
    SelectOption(c.Pspeed, 0);
    EXPECT_EQ(platform.comm1.settings(), "4800,n,8,1");
    EXPECT_TRUE(platform.comm1.isOpen());
    EXPECT_EQ(platform.comm1.opens, 2);
    EXPECT_FALSE(c.Pspeed[1].value.get());

    platform.comm1.failOpen = true; // the device went away meanwhile
    SelectOption(c.Pspeed, 1);
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_NE(platform.dialogs.messages[0].text.find("COM1"), std::string::npos);
}

TEST_F(Output, ChoosingAPortClosesTheSerialPortAndStopsTheRun) {
    std::string error;
    platform.comm1.open(error);
    engine.active = true;
    choose("TCP");
    EXPECT_FALSE(platform.comm1.isOpen());
    EXPECT_FALSE(engine.active);
    EXPECT_EQ(s.outputPortIndex, 23);

    c.DownloadC.onClick(); // the download chooses its own port
    choose("COM5");
    EXPECT_EQ(s.garminPortIndex, 4);
    EXPECT_EQ(platform.comm2.commPort(), 5);
    EXPECT_EQ(s.outputPortIndex, 23);
}

TEST_F(Output, DirectUartWritesEachByteWithAPause) {
    choose("Port2");
    send(kLine);
    std::string expected = kLine + "\r\n";
    ASSERT_EQ(platform.portIO.writes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(platform.portIO.writes[i].address, 760);
        EXPECT_EQ(platform.portIO.writes[i].value, static_cast<unsigned char>(expected[i]));
        EXPECT_EQ(platform.portIO.writes[i].gapMs, 2);
    }

    platform.portIO.writes.clear();
    platform.portIO.allowed = false;
    choose("Port1");
    send(kLine);
    send(kLine);
    EXPECT_TRUE(platform.portIO.writes.empty());
    ASSERT_EQ(platform.dialogs.messages.size(), 1u) << "said once, not per sentence";
    EXPECT_NE(platform.dialogs.messages[0].text.find("not available"), std::string::npos);
}

TEST_F(Output, PrinterDeviceGetsEachSentenceOnceWithOneCrLf) {
    std::string device = program.write("lp0", "");
    FilePrinters printers([&](const std::string& name) {
        return name == "LPT1" ? device : program.file("no/such/lp");
    });
    // The form sends through the platform it was made with: give it the real printer devices.
    test::VirtualPlatform& p = platform;
    Platform real{p.comm1, p.comm2,   p.winsock, p.portIO, printers,
                  p.clock, p.dialogs, p.host,    p.pty,    p.udp};
    MainForm printing(real, program.path(), FindSettings(program.path(), program.file("c")));
    printing.Form_Load();
    printing.c.PortC.listIndex.set(20); // LPT1
    std::string a = kLine, b = "$GPGSA,A,1*1E";
    printing.ports().SendSentence(a);
    printing.ports().SendSentence(b);
    EXPECT_EQ(ReadFile(device), kLine + "\r\n$GPGSA,A,1*1E\r\n");

    printing.c.PortC.listIndex.set(21); // LPT2: cannot be opened
    for (int i = 0; i < 3; ++i) {
        std::string line = kLine;
        printing.ports().SendSentence(line);
    }
    ASSERT_EQ(p.dialogs.messages.size(), 1u);
    EXPECT_NE(p.dialogs.messages[0].text.find("no/such/lp"), std::string::npos);
}

// A printer entry is written to only when it is a printer (a character device) or a file that
// is empty or holds NMEA lines: a disk or a file of other data is refused and left as it was.
TEST_F(Output, APrinterEntryNeverWritesOverADiskOrAFile) {
    std::string disk = program.file("disk");
    bool haveDisk = mknod(disk.c_str(), S_IFBLK | 0600, makedev(7, 0)) == 0;
    struct Case {
        std::string device;
        const char* refusal; // nullptr: taken
    } cases[] = {{"/dev/null", nullptr},
                 {program.write("empty", ""), nullptr},
                 {program.write("nmea", kLine + "\r\n"), nullptr},
                 {program.write("precious", "my thesis"), "holds other data than NMEA"},
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
    EXPECT_EQ(ReadFile(program.file("precious")), "my thesis");
}

TEST_F(Output, TcpServerStateAndAFailingClient) {
    choose("TCP");
    send(kLine);
    EXPECT_EQ(c.PortL.toolTip, "No connection");
    form.ports().StartTcpServer();
    EXPECT_EQ(platform.winsock.listenPort, 1000);
    EXPECT_TRUE(c.TCPstat.visible);
    connectClient(11);
    connectClient(12);
    EXPECT_EQ(form.ports().outputs().tcpServer().clients(), (std::vector<int>{1, 2}));
    send("$A*41");
    EXPECT_EQ(c.PortL.toolTip, "127.0.0.1 127.0.0.2 ");

    platform.winsock.failSend.insert(1);
    send("$C*43");
    EXPECT_EQ(platform.winsock.elements[2].sent, "$A*41\r\n$C*43\r\n")
        << "a failing client does not cost the others the line";

    form.ports().CloseTcpConnections();
    EXPECT_TRUE(form.ports().outputs().tcpServer().clients().empty());
    EXPECT_FALSE(c.TCPstat.visible);
    EXPECT_EQ(platform.winsock.listenPort, 1000) << "the listener goes on listening";
    EXPECT_TRUE(platform.winsock.elements.count(0));
}

TEST_F(Output, SocketProblemsAreReportedAndTheProgramGoesOn) {
    platform.winsock.failListen = true;
    form.ports().StartTcpServer();
    EXPECT_FALSE(c.TCPstat.visible);
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_NE(platform.dialogs.messages[0].text.find("Address already in use"), std::string::npos);

    platform.winsock.onError(1, 10054, "reset");
    EXPECT_EQ(platform.dialogs.messages.size(), 1u) << "a reset by the peer is not an error";
    platform.winsock.onError(1, 10061, "refused");
    ASSERT_EQ(platform.dialogs.messages.size(), 2u);
    EXPECT_EQ(platform.dialogs.messages[1].text, "Winsock-Error No: 10061   refused");
    EXPECT_EQ(platform.dialogs.messages[1].title, "Error!");
}

// Several destinations get the same stream: one that cannot be opened keeps the run from
// starting, one that fails later is said once and the others go on.
TEST_F(Output, SeveralDestinationsGetTheSameStream) {
    form.ports().outputs().settings.alsoTo = {"UDP", "LPT1"};
    platform.udp.failResolve = true;
    load("fail.log", test::Log({test::Rmc(0), test::Rmc(1)}));
    EXPECT_FALSE(engine.active);
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_NE(platform.dialogs.messages[0].text.find("UDP"), std::string::npos);

    platform.udp.failResolve = false;
    load("both.log", test::Log({test::Rmc(0), test::Rmc(1), test::Rmc(2)}));
    ASSERT_TRUE(engine.active);
    tick();
    platform.comm1.failOutput = true; // the serial adapter is pulled out
    tick();
    tick();
    EXPECT_EQ(platform.dialogs.messages.size(), 2u) << "the serial port's failure, once";
    EXPECT_TRUE(form.ports().outputs().anyFailed());
    EXPECT_FALSE(form.ports().outputs().everyFailed());
    EXPECT_EQ(platform.udp.datagrams.size(), platform.printers.jobs["LPT1"].size());
    EXPECT_GE(platform.udp.datagrams.size(), 3u) << "the others went on";
}
