// The entries of the port list, in its order: an index stored in the settings keeps its
// meaning (the pseudo-terminal and UDP came after the first 24).
#pragma once

#include <string>
#include <vector>

namespace korvel {

constexpr int kSerialPortCount = 16; // COM1 to COM16 lead the list

// The rates a serial port is opened at, 8 data bits, no parity, one stop bit.
constexpr const char* kBaudRates[] = {"1200",  "2400",  "4800",  "9600",
                                      "19200", "38400", "57600", "115200"};

const std::vector<std::string>& PortEntries();

// The entry's place in the list, -1 when it is none of them.
int PortEntryIndex(const std::string& entry);

// The output without saved settings: the TCP server, which needs no device, no permission and
// no root (its port is that of NMEA over IP).
constexpr const char* kDefaultPortEntry = "TCP";
constexpr int kDefaultTcpPort = 10110;

// The stored index when it names an entry, else the default entry's.
int PortIndexOrDefault(long stored);

} // namespace korvel
