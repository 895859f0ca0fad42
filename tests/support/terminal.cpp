#include "support/terminal.h"

#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace korvel::test {

namespace {

// Makes fd a raw terminal, keeping what waits to be read.
void MakeRaw(int fd) {
    termios raw{};
    if (tcgetattr(fd, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw); // not TCSAFLUSH: what waits stays
    }
}

} // namespace

int OpenRawReader(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0)
        MakeRaw(fd);
    return fd;
}

bool ReadWaiting(int fd, std::string& into) {
    char buffer[4096];
    ssize_t n = 0;
    bool any = false;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        into.append(buffer, static_cast<size_t>(n));
        any = true;
    }
    return any;
}

CablePair::CablePair() {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
        slave = ptsname(master);
    // The cable carries bytes as they are.
    if (master >= 0)
        MakeRaw(master);
}

CablePair::~CablePair() {
    if (master >= 0)
        close(master);
}

std::string CablePair::read() {
    std::string got;
    ReadWaiting(master, got);
    return got;
}

} // namespace korvel::test
