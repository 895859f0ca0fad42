#include "app/device_names.h"
#include "app/profile_file.h"
#include "app/settings_location.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

TEST(DeviceNames, DefaultsAndOverrides) {
    DeviceNames plain = DeviceNames::fromProfile(ProfileFile::parse(""), {});
    EXPECT_EQ(plain.serial(1), "/dev/ttyS0");
    EXPECT_EQ(plain.serial(16), "/dev/ttyS15");
    EXPECT_EQ(plain.printer("LPT3"), "/dev/lp2");
    EXPECT_EQ(plain.tcpPort, 10110) << "NMEA over IP, no root needed";
    EXPECT_EQ(plain.tcpClients, 0) << "the default limit";
    // The pseudo-terminal's link in a folder of the user's own, not in /tmp itself.
    std::string folder = std::filesystem::path(plain.ptyLink).parent_path().string();
    EXPECT_NE(folder, "/tmp");
    EXPECT_EQ(WhyNotTheUsers(folder), "") << plain.ptyLink;

    DeviceNames mine = DeviceNames::fromProfile(
        ProfileFile::parse("[devices]\ncom2 = /dev/ttyUSB0\nLPT1=/tmp/printer\nTCP= 1000\n"), {});
    EXPECT_EQ(mine.serial(2), "/dev/ttyUSB0");
    EXPECT_EQ(mine.serial(3), "/dev/ttyS2");
    EXPECT_EQ(mine.printer("LPT1"), "/tmp/printer");
    EXPECT_EQ(mine.tcpPort, 1000);
    for (auto [limit, taken] : {std::pair{"50", 50}, {"0", 0}, {"100001", 0}, {"x", 0}})
        EXPECT_EQ(DeviceNames::fromProfile(
                      ProfileFile::parse(std::string("[Devices]\nTCPClients=") + limit + "\n"))
                      .tcpClients,
                  taken)
            << limit;

    for (const char* bad : {"0", "70000", "-1", "x"})
        EXPECT_EQ(DeviceNames::fromProfile(
                      ProfileFile::parse(std::string("[Devices]\nTCP=") + bad + "\n"))
                      .tcpPort,
                  10110)
            << bad;

    // Where the datagrams go: a host and a port, an IPv6 address in brackets, a host alone.
    struct Udp {
        const char *text, *host;
        int port; // 0: refused
    } udp[] = {{"192.168.1.255:10110", "192.168.1.255", 10110},
               {"[::1]:2000", "::1", 2000},
               {"[ff02::1%lo]", "ff02::1%lo", 1},
               {"fe80::1", "fe80::1", 1},
               {"plotter", "plotter", 1},
               {"plotter:0", nullptr, 0},
               {":10110", nullptr, 0}};
    for (const Udp& u : udp) {
        DeviceNames names;
        names.udpPort = 1;
        EXPECT_EQ(names.setUdp(u.text), u.port != 0) << u.text;
        if (u.port) {
            EXPECT_EQ(names.udpHost, u.host) << u.text;
            EXPECT_EQ(names.udpPort, u.port) << u.text;
        }
    }
}

// The serial devices as the kernel lists them: every USB adapter and receiver, and the on-board
// ports that have a UART behind them, in their numbers' order.
TEST(DeviceNames, TheMachinesSerialDevices) {
    test::TempFolder sys;
    auto port = [&](const std::string& name, const char* type) {
        std::filesystem::create_directories(sys.file(name));
        if (type)
            sys.write(name + "/type", type);
    };
    port("ttyS0", "4\n");
    port("ttyS1", "0\n"); // no UART
    port("ttyS10", "4\n");
    port("ttyS2", nullptr); // nothing said
    port("ttyUSB1", nullptr);
    port("ttyUSB0", nullptr);
    port("ttyACM0", nullptr);
    port("tty5", nullptr);
    port("ttyUSBx", nullptr);
    port("console", nullptr);
    EXPECT_EQ(PresentSerialDevices(sys.path()),
              (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS10", "/dev/ttyUSB0",
                                        "/dev/ttyUSB1"}));
    EXPECT_EQ(PresentSerialDevices(sys.file("none")), std::vector<std::string>{});
}

// A COM port without its ttyS port takes a USB device no other COM port names, so that COM1 is
// the adapter of a laptop; a device named in the settings stays where it is named.
TEST(DeviceNames, UsbDevicesTakeTheComPortsTheMachineLacks) {
    test::TempFolder folder;
    std::string named = folder.write("gps", "");
    struct Case {
        const char* legend;
        std::string settings;
        std::vector<std::string> present;
        std::vector<std::pair<std::string, bool>> com; // COM1, COM2, COM3: device, there
    } cases[] = {
        {"a PC with a port and an adapter",
         "",
         {"/dev/ttyS0", "/dev/ttyUSB0"},
         {{"/dev/ttyS0", true}, {"/dev/ttyUSB0", true}, {"/dev/ttyS2", false}}},
        {"a laptop with a receiver and an adapter",
         "",
         {"/dev/ttyACM0", "/dev/ttyUSB0"},
         {{"/dev/ttyACM0", true}, {"/dev/ttyUSB0", true}, {"/dev/ttyS2", false}}},
        {"an adapter named for COM2",
         "[Devices]\nCOM2=/dev/ttyUSB0\nCOM3=" + named + "\n",
         {"/dev/ttyUSB0", "/dev/ttyUSB1"},
         {{"/dev/ttyUSB1", true}, {"/dev/ttyUSB0", false}, {named, true}}},
        {"nothing", "", {}, {{"/dev/ttyS0", false}, {"/dev/ttyS1", false}, {"/dev/ttyS2", false}}},
    };
    for (const Case& c : cases) {
        DeviceNames names = DeviceNames::fromProfile(ProfileFile::parse(c.settings), c.present);
        for (int port = 1; port <= 3; ++port) {
            EXPECT_EQ(names.serial(port), c.com[port - 1].first) << c.legend << ", COM" << port;
            EXPECT_EQ(names.serialPresent(port), c.com[port - 1].second)
                << c.legend << ", COM" << port;
        }
    }
}
