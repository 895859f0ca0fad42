// The machine's devices behind the names of the port list. The defaults suit a PC with
// on-board ports; the section "Devices" of "Korvel.ini" names others, for example
// COM1=/dev/ttyUSB0 for a USB adapter or TCP=10110 for an unprivileged server port.
#pragma once

#include <string>

namespace korvel {

class ProfileFile;

struct DeviceNames {
    // COMn: /dev/ttyS(n-1).
    std::string serial(int port) const;
    // LPTn: /dev/lp(n-1).
    std::string printer(const std::string& name) const;
    int tcpPort = 1000;
    // Names the device behind COMn.
    void setSerial(int port, const std::string& device);

    static DeviceNames fromProfile(const ProfileFile& profile);

  private:
    std::string overrides_[16 + 3];
};

} // namespace korvel
