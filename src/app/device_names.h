// The machine's devices behind the names of the port list. COMn is /dev/ttyS(n-1), or, where
// the machine has no such port, one of its USB serial devices that no COM port names (COM1 is
// /dev/ttyUSB0 on a laptop with an adapter). The section "Devices" of "Korvel.ini" names others,
// for example
// COM1=/dev/ttyUSB0 for a USB adapter, TCP=10110 for an unprivileged server port,
// TCPBind=* to serve the network, TCPClients=50 for fewer clients at once, PTY=/tmp/gps for the
// pseudo-terminal's link (by default korvel-gps0 in the user's runtime folder),
// UDP=192.168.1.255:10110 for the datagrams.
#pragma once

#include "app/serial_devices.h"
#include "output/port_entries.h"

#include <string>
#include <vector>

namespace korvel {

class ProfileFile;
struct OutputSettings;

// Whether a server at this address serves this computer alone.
bool IsLoopbackAddress(const std::string& address);

struct DeviceNames {
    // The device of COMn.
    std::string serial(int port) const;
    // Whether it is there: a device the machine lists, or a path named that exists.
    bool serialPresent(int port) const;
    // LPTn: /dev/lp(n-1).
    std::string printer(const std::string& name) const;
    int tcpPort = kDefaultTcpPort;
    std::string tcpAddress; // where the TCP server listens, "" for this computer only
    int tcpClients = 0;     // the most clients it serves at once, 0 for the default
    std::string ptyLink;    // the stable name of the pseudo-terminal
    std::string udpHost = "127.0.0.1";
    int udpPort = 10110;
    // Names the device behind COMn.
    void setSerial(int port, const std::string& device);
    // Takes "host:port" (or "host" alone); false, changing nothing, when it is not one.
    bool setUdp(const std::string& hostAndPort);

    // present: the serial devices the machine has.
    static DeviceNames
    fromProfile(const ProfileFile& profile,
                const std::vector<std::string>& present = PresentSerialDevices());
    // What the outputs take of them: the TCP server's port, address and clients (as many as
    // the descriptor limit lets in), the pseudo-terminal's link, the datagrams' address.
    OutputSettings outputSettings() const;

  private:
    std::string overrides_[16 + 3];
    std::string assigned_[16]; // the machine's devices in the COM ports without a ttyS port
    std::vector<std::string> present_;
};

} // namespace korvel
