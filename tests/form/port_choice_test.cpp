// The port list, the serial rate and the TCP server as the window shows them.
#include "app/device_names.h"
#include "app/profile_file.h"
#include "support/replay_fixture.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

class PortChoice : public test::ReplayFixture {
  protected:
    void choose(const std::string& entry) {
        auto found = std::find(c.PortC.items.begin(), c.PortC.items.end(), entry);
        ASSERT_NE(found, c.PortC.items.end());
        c.PortC.listIndex.set(static_cast<int>(found - c.PortC.items.begin()));
    }
    void send(std::string sentence) { form.ports().SendSentence(sentence); }
};

} // namespace

TEST_F(PortChoice, BaudRateChangeReopensAnOpenPort) {
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

    // Every other rate from the list beside the buttons, which then show none; a button's rate
    // shows in the list.
    c.BaudC.listIndex.set(7);
    EXPECT_EQ(platform.comm1.settings(), "115200,n,8,1");
    EXPECT_TRUE(platform.comm1.isOpen());
    EXPECT_FALSE(c.Pspeed[0].value.get() || c.Pspeed[1].value.get());
    c.BaudC.listIndex.set(3);
    EXPECT_TRUE(c.Pspeed[1].value.get()) << "9600 is a button's";
    SelectOption(c.Pspeed, 0);
    EXPECT_EQ(c.BaudC.text(), "4800");

    platform.comm1.failOpen = true; // the device went away meanwhile
    SelectOption(c.Pspeed, 1);
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_NE(platform.dialogs.messages[0].text.find("COM1"), std::string::npos);
}

TEST_F(PortChoice, ChoosingAPortClosesTheSerialPortAndStopsTheRun) {
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

TEST_F(PortChoice, TheTcpServersStateAndItsProblems) {
    choose("TCP");
    send("$GPGSV,1,1,00*79");
    EXPECT_EQ(c.PortL.toolTip, "No connection");
    form.ports().StartTcpServer();
    EXPECT_TRUE(c.TCPstat.visible);
    platform.winsock.onConnectionRequest(0, 11);
    send("$A*41");
    EXPECT_EQ(c.PortL.toolTip, "127.0.0.1 ");
    form.ports().CloseTcpConnections();
    EXPECT_FALSE(c.TCPstat.visible);
    EXPECT_EQ(c.PortL.toolTip, "");

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

// The server's port is chosen in the window, beside the LAN box: Enter moves a listening server
// to it, a text that is no port is refused, and the exit keeps it for the next start.
TEST_F(PortChoice, TheTcpPortIsChosenInTheWindow) {
    EXPECT_FALSE(c.TcpPortT.visible);
    choose("TCP");
    EXPECT_TRUE(c.TcpPortT.visible && c.TcpLan.visible);
    EXPECT_EQ(c.TcpPortT.text.get(), std::to_string(kDefaultTcpPort));
    form.ports().StartTcpServer();
    c.TcpPortT.text.set("2947");
    form.ports().TcpPortT_KeyDown(13);
    EXPECT_EQ(platform.winsock.listenPort, 2947);
    for (const char* wrong : {"70000", "", "12a", "0"}) {
        c.TcpPortT.text.set(wrong);
        form.ports().TcpPortT_KeyDown(13);
        EXPECT_EQ(c.TcpPortT.text.get(), "2947") << wrong;
    }
    EXPECT_EQ(platform.dialogs.messages.size(), 4u);
    EXPECT_EQ(platform.winsock.listenPort, 2947);
    c.ENDE.onClick();
    EXPECT_EQ(DeviceNames::fromProfile(ProfileFile::load(program.file("Korvel.ini"))).tcpPort,
              2947);
}

// The port list shows the device of each serial and printer port, and leaves out the serial
// ports the machine does not have unless one is chosen; the entries keep their names and places.
TEST_F(PortChoice, TheListShowsTheDevicesTheMachineHas) {
    form.ports().devices = DeviceNames::fromProfile(ProfileFile{}, {"/dev/ttyUSB0"});
    form.ports().FillPortList();
    ASSERT_EQ(c.PortC.items.size(), 26u);
    struct Row {
        size_t index;
        const char* item;
        const char* label;
        bool hidden;
    } rows[] = {{0, "COM1", "COM1 (/dev/ttyUSB0)", false},
                {1, "COM2", "COM2 (/dev/ttyS1)", true},
                {20, "LPT1", "LPT1 (/dev/lp0)", false},
                {23, "TCP", "", false}};
    for (const Row& row : rows) {
        EXPECT_EQ(c.PortC.items[row.index], row.item);
        EXPECT_EQ(c.PortC.labels[row.index], row.label);
        EXPECT_EQ(c.PortC.hidden[row.index], row.hidden) << row.item;
    }
    choose("COM1");
    EXPECT_EQ(c.PortC.text(), "COM1") << "the kind is told from the entry";
}
