#include "files/pending_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

// Renames from to to unless a file is there already, in one step the file system guarantees.
bool renameKeeping(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the no-replace rename still refuse a second link of an existing name.
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
}

// What marks the name of a temporary file or folder as this process's own:
// "korvel-PID-" and then mkstemp's six characters.
constexpr std::string_view kMark = "korvel-";

std::string ownMark() {
    return std::string(kMark) + std::to_string(getpid()) + "-";
}

// The process whose mark name ends with, or 0 when it holds none.
pid_t markedProcess(std::string_view name) {
    size_t at = name.rfind(kMark);
    if (at == std::string_view::npos || (at > 0 && name[at - 1] != '.'))
        return 0;
    std::string_view rest = name.substr(at + kMark.size());
    size_t dash = rest.find('-');
    if (dash == 0 || dash > 9 || rest.size() != dash + 7 ||
        rest.substr(0, dash).find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
}

// The file a name stands for: a symbolic link is followed to what it names, even when that does
// not exist yet, so that the link stays and its target is written.
std::string followLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        std::filesystem::path link = std::filesystem::read_symlink(path, ec);
        if (ec)
            break;
        path = (std::filesystem::path(path).parent_path() / link).lexically_normal().string();
    }
    return path;
}

} // namespace

void RemoveStaleTemporaries(const std::string& folder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        pid_t owner = markedProcess(it->path().filename().string());
        // Only where the process is provably gone: one that lives, even another user's, keeps
        // what it has.
        if (owner > 0 && owner != getpid() && kill(owner, 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            std::filesystem::remove_all(it->path(), ignored);
        }
    }
}

std::string TemporaryFolder() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    return ec ? "/tmp" : base.string();
}

bool PendingFile::create(const std::string& name, std::string& error) {
    discard();
    kept_.clear();
    std::string target = followLinks(name);
    RemoveStaleTemporaries(std::filesystem::path(target).parent_path().string());
    // A file replaced keeps who may read it; a new one is made as the user's umask says.
    struct stat existing {};
    mode_t mask = umask(0);
    umask(mask);
    mode_ = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)
                ? existing.st_mode & 07777
                : 0666 & ~mask;
    std::string temporary = target + "." + ownMark() + "XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = target + ": " + std::strerror(errno);
        return false;
    }
    fd_ = fd;
    target_ = target;
    temporary_ = temporary;
    return true;
}

bool WriteAll(int fd, std::string_view bytes, int& error) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool PendingFile::write(std::string_view bytes, std::string& error) {
    int failure = 0;
    if (WriteAll(fd_, bytes, failure))
        return true;
    error = target_ + ": " + std::strerror(failure);
    return false;
}

bool PendingFile::commit(bool replace, std::string& error) {
    // The data reaches the disk before the name does, so a crash cannot leave a short file
    // under the target's name.
    bool written = fchmod(fd_, mode_) == 0 && fsync(fd_) == 0;
    int failure = errno;
    written = ::close(fd_) == 0 && written;
    fd_ = -1;
    if (!written) {
        error = target_ + ": " + std::strerror(failure ? failure : errno);
        discard();
        return false;
    }
    if (replace ? std::rename(temporary_.c_str(), target_.c_str()) == 0
                : renameKeeping(temporary_, target_)) {
        temporary_.clear();
        return true;
    }
    error = target_ + ": " + std::strerror(errno);
    // What was written whole is not thrown away: it goes beside the target under a name of its
    // own, or stays where it is.
    for (int n = 1; n <= 100 && kept_.empty(); ++n) {
        std::string aside = target_ + ".new" + (n > 1 ? std::to_string(n) : "");
        if (renameKeeping(temporary_, aside))
            kept_ = aside;
    }
    if (kept_.empty())
        kept_ = temporary_;
    temporary_.clear();
    return false;
}

void PendingFile::discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

std::string MakePrivateFolder(std::string& error) {
    std::string folder = TemporaryFolder() + "/" + ownMark() + "XXXXXX";
    if (!mkdtemp(folder.data())) {
        error = folder + ": " + std::strerror(errno);
        return "";
    }
    return folder;
}

} // namespace korvel
