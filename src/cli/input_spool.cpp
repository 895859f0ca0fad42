#include "cli/input_spool.h"

#include "files/pending_file.h"
#include "replay/sentence_type.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string_view>
#include <unistd.h>

namespace korvel {

namespace {
// What one call takes at most, so that a fast input leaves the run time for its records.
constexpr size_t kTakenAtOnce = 1 << 20;
// A line without an ending that outgrows any sentence is junk: it need not wait for one.
constexpr size_t kLongestLine = 1 << 20;
} // namespace

InputSpool::InputSpool(int input) : input_(input) {}

InputSpool::~InputSpool() {
    if (file_ >= 0)
        ::close(file_);
    if (!folder_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
}

bool InputSpool::open(std::string& error) {
    folder_ = MakePrivateFolder(error);
    if (folder_.empty())
        return false;
    path_ = folder_ + "/standard-input.log";
    file_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file_ < 0)
        error = path_ + ": " + std::strerror(errno);
    return file_ >= 0;
}

bool InputSpool::take(int waitMs) {
    for (size_t taken = 0; !ended_ && taken < kTakenAtOnce; waitMs = 0) {
        pollfd waiting{input_, POLLIN, 0};
        if (poll(&waiting, 1, waitMs) <= 0)
            break;
        char buffer[65536];
        ssize_t n = ::read(input_, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            break;
        if (n < 0) {
            // An input that fails (a connection reset) is no end of the log: the run fails.
            error_ = std::string("it cannot be read: ") + std::strerror(errno);
            return false;
        }
        if (n == 0) {
            // The end of the input ends the log: the rest is its last line.
            ended_ = true;
            return write(pending_.size());
        }
        pending_.append(buffer, static_cast<size_t>(n));
        taken += static_cast<size_t>(n);
        if (!writeWholeLines())
            return false;
    }
    return true;
}

bool InputSpool::writeWholeLines() {
    // A line ends at LF, or at a CR that no LF follows; a CR last in what has come waits for
    // the next byte.
    for (; scanned_ < pending_.size(); ++scanned_) {
        char ch = pending_[scanned_];
        if (ch != '\n' && ch != '\r')
            continue;
        if (ch == '\r') {
            if (scanned_ + 1 == pending_.size())
                break;
            if (pending_[scanned_ + 1] == '\n')
                continue;
        }
        std::string_view line(pending_.data() + lineStart_, scanned_ - lineStart_);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        rmcLines_ += IsSentence(line, "RMC");
        lineStart_ = scanned_ + 1;
    }
    return write(lineStart_ > 0 || pending_.size() < kLongestLine ? lineStart_ : pending_.size());
}

bool InputSpool::write(size_t length) {
    int error = 0;
    if (length > 0 && !WriteAll(file_, std::string_view(pending_).substr(0, length), error)) {
        error_ = path_ + ": " + std::strerror(error);
        return false;
    }
    pending_.erase(0, length);
    scanned_ -= std::min(scanned_, length);
    lineStart_ -= std::min(lineStart_, length);
    return true;
}

} // namespace korvel
