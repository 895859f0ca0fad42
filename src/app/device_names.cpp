#include "app/device_names.h"

#include "app/profile_file.h"
#include "app/settings_location.h"
#include "output/descriptor_limit.h"
#include "output/host_port.h"
#include "output/outputs.h"
#include "text/conversions.h"

#include <algorithm>
#include <filesystem>

namespace korvel {

namespace {
constexpr int kSerialPorts = 16;
constexpr int kPrinters = 3;
} // namespace

bool IsLoopbackAddress(const std::string& address) {
    return address == "localhost" || address.starts_with("127.") || address == "::1";
}

std::string DeviceNames::serial(int port) const {
    if (port >= 1 && port <= kSerialPorts && !overrides_[port - 1].empty())
        return overrides_[port - 1];
    if (port >= 1 && port <= kSerialPorts && !assigned_[port - 1].empty())
        return assigned_[port - 1];
    return "/dev/ttyS" + std::to_string(port - 1);
}

bool DeviceNames::serialPresent(int port) const {
    std::error_code ec;
    if (port >= 1 && port <= kSerialPorts && !overrides_[port - 1].empty())
        return std::filesystem::exists(overrides_[port - 1], ec);
    return std::find(present_.begin(), present_.end(), serial(port)) != present_.end();
}

std::string DeviceNames::printer(const std::string& name) const {
    int n = ToInt(Val(Mid(name, 4)));
    if (n >= 1 && n <= kPrinters && !overrides_[kSerialPorts + n - 1].empty())
        return overrides_[kSerialPorts + n - 1];
    return "/dev/lp" + std::to_string(n - 1);
}

void DeviceNames::setSerial(int port, const std::string& device) {
    if (port >= 1 && port <= kSerialPorts)
        overrides_[port - 1] = device;
}

bool DeviceNames::setUdp(const std::string& hostAndPort) {
    std::optional<HostPort> address = SplitHostPort(hostAndPort, udpPort);
    if (!address)
        return false;
    udpHost = address->host;
    udpPort = address->port;
    return true;
}

DeviceNames DeviceNames::fromProfile(const ProfileFile& profile,
                                     const std::vector<std::string>& present) {
    DeviceNames names;
    names.present_ = present;
    for (int i = 1; i <= kSerialPorts; ++i)
        names.overrides_[i - 1] = profile.readString("Devices", "COM" + std::to_string(i), "");
    // The USB devices no COM port names take, in order, the COM ports whose ttyS port is not
    // there.
    std::vector<std::string> spare;
    for (const std::string& device : present)
        if (!device.starts_with("/dev/ttyS") &&
            std::find(std::begin(names.overrides_), std::end(names.overrides_), device) ==
                std::end(names.overrides_))
            spare.push_back(device);
    auto next = spare.begin();
    for (int i = 1; i <= kSerialPorts && next != spare.end(); ++i)
        if (names.overrides_[i - 1].empty() && !names.serialPresent(i))
            names.assigned_[i - 1] = *next++;
    for (int i = 1; i <= kPrinters; ++i)
        names.overrides_[kSerialPorts + i - 1] =
            profile.readString("Devices", "LPT" + std::to_string(i), "");
    long port = profile.readInt("Devices", "TCP", kDefaultTcpPort);
    names.tcpPort = port >= 1 && port <= 65535 ? static_cast<int>(port) : kDefaultTcpPort;
    names.tcpAddress = Trim(profile.readString("Devices", "TCPBind", ""));
    long clients = profile.readInt("Devices", "TCPClients", 0);
    names.tcpClients = clients >= 1 && clients <= kMostTcpClients ? static_cast<int>(clients) : 0;
    names.ptyLink = profile.readString("Devices", "PTY", "");
    if (names.ptyLink.empty())
        names.ptyLink = DefaultPtyLink(); // named only: no folder is made at the start
    names.setUdp(profile.readString("Devices", "UDP", ""));
    return names;
}

OutputSettings DeviceNames::outputSettings() const {
    OutputSettings out;
    out.tcpPort = tcpPort;
    out.tcpClientLimit = TcpClientsThatFit(tcpClients ? tcpClients : kDefaultTcpClients);
    if (!tcpAddress.empty())
        out.tcpAddress = tcpAddress;
    if (!IsLoopbackAddress(out.tcpAddress))
        out.tcpLanAddress = out.tcpAddress;
    out.ptyLink = ptyLink;
    out.udpHost = udpHost;
    out.udpPort = udpPort;
    return out;
}

} // namespace korvel
