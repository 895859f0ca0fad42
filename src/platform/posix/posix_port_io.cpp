#include "platform/posix/posix_port_io.h"

#include <cerrno>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define KORVEL_HAVE_PORT_IO 1
#endif

namespace korvel {

namespace {
// The UART addresses the port list uses, 8 registers each from 0x2E8 to 0x3FF.
constexpr unsigned long kFirstAddress = 0x2E8;
constexpr unsigned long kLastAddress = 0x3FF;
} // namespace

bool PosixPortIO::available(std::string& why) {
    if (access_ == Access::Unknown) {
#ifdef KORVEL_HAVE_PORT_IO
        bool granted = ioperm(kFirstAddress, kLastAddress - kFirstAddress + 1, 1) == 0;
        access_ = granted ? Access::Granted : Access::Refused;
        if (!granted)
            why_ = std::string("direct port access is not available: ") + std::strerror(errno);
#else
        access_ = Access::Refused;
        why_ = "direct port access is not available on this processor";
#endif
    }
    why = why_;
    return access_ == Access::Granted;
}

void PosixPortIO::PortOut(std::uint16_t address, std::uint8_t value) {
    std::string why;
    if (!available(why) || address < kFirstAddress || address > kLastAddress)
        return;
#ifdef KORVEL_HAVE_PORT_IO
    outb(value, address);
#endif
}

} // namespace korvel
