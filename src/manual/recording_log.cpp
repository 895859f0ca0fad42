#include "manual/recording_log.h"

#include "files/pending_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace korvel {

bool RecordingLog::open(const std::string& path, bool overwrite, std::string& error) {
    close();
    path_ = path;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (overwrite ? O_TRUNC : O_APPEND),
                 0644);
    if (fd_ < 0)
        error = std::strerror(errno);
    return fd_ >= 0;
}

void RecordingLog::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::optional<RecordingLog::Failure> RecordingLog::write(const std::vector<std::string>& lines) {
    if (fd_ < 0)
        return std::nullopt;
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    // Each record reaches the file at once: nothing recorded is lost if the program ends.
    off_t before = ::lseek(fd_, 0, SEEK_END);
    int error = 0;
    if (WriteAll(fd_, text, error))
        return std::nullopt;
    // A record that does not fit is taken out again, so the log ends with a whole sentence.
    Failure failure{std::strerror(error), before >= 0 && ::ftruncate(fd_, before) == 0};
    close();
    return failure;
}

} // namespace korvel
