// The serial devices this machine has, as the kernel lists them in ttyClass: USB adapters
// (ttyUSB*), USB receivers and modems (ttyACM*), and on-board ports (ttyS*) with a UART behind
// them (a ttyS device node exists for every possible port, most with nothing behind it).
#pragma once

#include <string>
#include <vector>

namespace korvel {

// Their device paths, /dev/ttyACM0 before /dev/ttyS0 before /dev/ttyUSB0, numbers in order.
std::vector<std::string> PresentSerialDevices(const std::string& ttyClass = "/sys/class/tty");

} // namespace korvel
