#include "files/readable_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

std::string WhyUnreadable(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::strerror(errno);
    struct stat status {};
    bool file = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    ::close(fd);
    if (file)
        return "";
    return S_ISDIR(status.st_mode) ? std::strerror(EISDIR) : "it is not a regular file";
}

} // namespace korvel
