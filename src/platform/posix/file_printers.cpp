#include "platform/posix/file_printers.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

// Why the open fd is no printer the sentences may go to, or "": a character device, or a
// regular file that is empty or holds NMEA lines. A disk (a block device) or a file of other
// data is never written over.
std::string whyNoPrinter(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0)
        return std::strerror(errno);
    if (S_ISCHR(status.st_mode))
        return "";
    if (!S_ISREG(status.st_mode))
        return "it is no printer (a character device) and no file";
    if (status.st_size == 0)
        return "";
    // The file's first byte, read through a descriptor of its own on the same file.
    char first = 0;
    int reader = ::open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
    bool read = reader >= 0 && ::pread(reader, &first, 1, 0) == 1;
    int failure = errno;
    if (reader >= 0)
        ::close(reader);
    if (!read)
        return std::strerror(failure);
    return first == '$' ? "" : "it is a file that holds other data than NMEA sentences";
}

} // namespace

FilePrinters::FilePrinters(std::function<std::string(const std::string&)> deviceFor)
    : deviceFor_(std::move(deviceFor)) {}

int FilePrinters::openPrinter(const std::string& device, int flags, std::string& error) {
    int fd = ::open(device.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC | flags);
    if (fd < 0) {
        error = device + ": " + std::strerror(errno);
        return -1;
    }
    if (std::string why = whyNoPrinter(fd); !why.empty()) {
        ::close(fd);
        error = device + ": " + why;
        return -1;
    }
    return fd;
}

bool FilePrinters::probe(const std::string& name, std::string& error) {
    // Without waiting: a printer that is off line must not hold the window.
    int fd = openPrinter(deviceFor_(name), O_NONBLOCK, error);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool FilePrinters::write(const std::string& name, const std::string& bytes, std::string& error) {
    std::string device = deviceFor_(name);
    int fd = openPrinter(device, 0, error);
    if (fd < 0)
        return false;
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
