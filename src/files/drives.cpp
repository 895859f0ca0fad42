#include "files/drives.h"

#include <cstdlib>

namespace korvel {

namespace {

std::string home() {
    const char* h = std::getenv("HOME");
    std::string path = h ? h : "";
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path == "/" ? "" : path;
}

} // namespace

std::vector<std::string> Drives() {
    std::vector<std::string> drives{"/"};
    if (!home().empty())
        drives.push_back(home());
    return drives;
}

std::string DriveOf(const std::string& path) {
    std::string h = home();
    bool inHome =
        !h.empty() && path.starts_with(h) && (path.size() == h.size() || path[h.size()] == '/');
    return inHome ? h : "/";
}

} // namespace korvel
