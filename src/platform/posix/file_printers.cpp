#include "platform/posix/file_printers.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace korvel {

FilePrinters::FilePrinters(std::function<std::string(const std::string&)> deviceFor)
    : deviceFor_(std::move(deviceFor)) {}

bool FilePrinters::probe(const std::string& name, std::string& error) {
    std::string device = deviceFor_(name);
    // Without waiting: a printer that is off line must not hold the window.
    int fd = ::open(device.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = device + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    return true;
}

bool FilePrinters::write(const std::string& name, const std::string& bytes, std::string& error) {
    std::string device = deviceFor_(name);
    int fd = ::open(device.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = device + ": " + std::strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = device + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        error = device + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace korvel
