#include "output/route.h"

#include "text/conversions.h"

namespace korvel {

namespace {

// UART base addresses of the entries Port1 ... Port4.
std::uint16_t uartAddress(char last) {
    switch (last) {
    case '1':
        return 0x3F8;
    case '2':
        return 0x2F8;
    case '3':
        return 0x3E8;
    default:
        return 0x2E8;
    }
}

Destination destinationOf(const std::string& entry) {
    if (entry == "TCP")
        return Destination::Tcp;
    if (entry == "PTY")
        return Destination::Pty;
    if (entry == "UDP")
        return Destination::Udp;
    if (entry.starts_with("Por"))
        return Destination::Uart;
    if (entry.starts_with("LPT"))
        return Destination::Printer;
    return Destination::Serial;
}

} // namespace

Route RouteOf(const std::string& entry) {
    Route route{entry, destinationOf(entry), 0, 0};
    if (route.destination == Destination::Uart && !entry.empty())
        route.uartAddress = uartAddress(entry.back());
    if (route.destination == Destination::Serial && entry.starts_with("COM"))
        route.comPort = static_cast<int>(Val(Mid(entry, 4)));
    return route;
}

} // namespace korvel
