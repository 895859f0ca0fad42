// Where a port-list entry sends the stream, told once when the entry is chosen or a run opens
// its destinations, not for every sentence.
#pragma once

#include <cstdint>
#include <string>

namespace korvel {

// The pause after each byte written to a UART, at every pace.
constexpr int kUartByteGapMs = 2;

enum class Destination { Tcp, Pty, Udp, Uart, Printer, Serial };

struct Route {
    std::string entry; // as the port list names it: "COM3", "Port1", "LPT2", "TCP", ...
    Destination destination = Destination::Serial;
    std::uint16_t uartAddress = 0; // the base address of a UART entry
    int comPort = 0;               // n of an entry COMn, 0 for a serial port of another name
};

// A COM entry or a device path is a serial port.
Route RouteOf(const std::string& entry);

} // namespace korvel
