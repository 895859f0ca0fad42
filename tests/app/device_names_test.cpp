#include "app/device_names.h"
#include "app/profile_file.h"
#include "app/settings_location.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;

TEST(DeviceNames, DefaultsAndOverrides) {
    DeviceNames plain = DeviceNames::fromProfile(ProfileFile::parse(""));
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
        ProfileFile::parse("[devices]\ncom2 = /dev/ttyUSB0\nLPT1=/tmp/printer\nTCP= 1000\n"));
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
