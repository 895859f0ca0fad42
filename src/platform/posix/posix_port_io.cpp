#include "platform/posix/posix_port_io.h"

#include <cerrno>
#include <cstring>
#include <ctime>

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

void PosixPortIO::transmit(std::uint16_t address, std::string_view bytes, int gapMs) {
    std::string why;
    if (!available(why) || address < kFirstAddress || address > kLastAddress)
        return;
    const timespec gap{gapMs / 1000, gapMs % 1000 * 1000000L};
    for (unsigned char byte : bytes) {
#ifdef KORVEL_HAVE_PORT_IO
        outb(byte, address);
#endif
        timespec left = gap;
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }
}

} // namespace korvel
