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
#include <utility>

namespace korvel {

namespace {
// What one call takes at most, so that a fast input leaves the run time for its records.
constexpr size_t kTakenAtOnce = 1 << 20;
// A line without an ending that outgrows any sentence is junk: it is dropped to its end.
constexpr size_t kLongestLine = 1 << 20;
// The opening of the input that tells a log from binary data, as for a file: its first lines.
constexpr int kOpeningLines = 20;
constexpr size_t kOpeningBytes = 64 * 1024;
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
            if (inJunk_)
                drop(pending_.size());
            return write(pending_.size());
        }
        pending_.append(buffer, static_cast<size_t>(n));
        taken += static_cast<size_t>(n);
        if (!openingIsText(std::string_view(buffer, static_cast<size_t>(n))) || !writeWholeLines())
            return false;
    }
    return true;
}

bool InputSpool::openingIsText(std::string_view bytes) {
    for (char ch : bytes) {
        if (openingLines_ >= kOpeningLines || openingBytes_ >= kOpeningBytes)
            return true;
        ++openingBytes_;
        openingLines_ += ch == '\n';
        if (static_cast<unsigned char>(ch) < ' ' && ch != '\t' && ch != '\r' && ch != '\n') {
            error_ = "it holds binary data, not lines of text";
            return false;
        }
    }
    return true;
}

bool InputSpool::writeWholeLines() {
    size_t junk = 0; // where the end of an overlong line ends, first in what is pending
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
        if (std::exchange(inJunk_, false))
            junk = scanned_ + 1;
        else
            rmcLines_ += LeadsWithSentence(line, "RMC");
        lineStart_ = scanned_ + 1;
    }
    drop(junk);
    if (!write(lineStart_))
        return false;
    // A line that outgrows any sentence is junk: what came of it is dropped, and the rest of
    // it as it comes, so that an endless one fills neither memory nor the disk.
    if (pending_.size() >= kLongestLine) {
        inJunk_ = true;
        drop(pending_.size());
    }
    return true;
}

bool InputSpool::write(size_t length) {
    int error = 0;
    if (length > 0 && !WriteAll(file_, std::string_view(pending_).substr(0, length), error)) {
        error_ = path_ + ": " + std::strerror(error);
        return false;
    }
    drop(length);
    return true;
}

void InputSpool::drop(size_t length) {
    pending_.erase(0, length);
    scanned_ -= std::min(scanned_, length);
    lineStart_ -= std::min(lineStart_, length);
}

} // namespace korvel
