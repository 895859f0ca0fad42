#include "platform/posix/link_claim.h"

#include "app/settings_location.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace korvel {

namespace {

// The same number for the same path in every build and run (FNV-1a).
std::uint64_t pathKey(const std::string& path) {
    std::uint64_t key = 14695981039346656037ull;
    for (unsigned char ch : path)
        key = (key ^ ch) * 1099511628211ull;
    return key;
}

} // namespace

int ClaimLinkName(const std::string& path, std::string& why) {
    std::string folder = UserRuntimeFolder(why);
    if (folder.empty()) {
        why = "no private folder to claim it in: " + why;
        return -1;
    }
    char name[32];
    std::snprintf(name, sizeof name, "/pty-%016llx.lock",
                  static_cast<unsigned long long>(pathKey(path)));
    int fd = ::open((folder + name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        why = "it cannot be claimed: " + std::string(std::strerror(errno));
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    ::close(fd);
    why = "it belongs to another running Korvel";
    return -1;
}

} // namespace korvel
