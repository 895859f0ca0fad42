#include "text/line_reader.h"

#include "text/byte_search.h"

#include <algorithm>

namespace korvel {

LineReader::~LineReader() {
    close();
}

bool LineReader::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return false;
    // A UTF-8 byte-order mark, as some programs write first, is no part of the first line.
    unsigned char mark[3] = {};
    if (std::fread(mark, 1, 3, file_) == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF)
        blockStart_ = 3;
    else
        std::fseek(file_, 0, SEEK_SET);
    return true;
}

bool LineReader::openAtLineFrom(const std::string& path, long long offset) {
    if (!open(path))
        return false;
    if (offset <= 0)
        return true;
    // From the byte before: the rest of its line, or the LF of its CR LF, is no line of this
    // stretch.
    if (fseeko(file_, static_cast<off_t>(offset - 1), SEEK_SET) != 0) {
        close();
        return false;
    }
    blockStart_ = offset - 1;
    nextLine();
    return true;
}

void LineReader::close() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    begin_ = end_ = 0;
    blockStart_ = 0;
}

bool LineReader::fill() {
    if (begin_ < end_)
        return true;
    if (!file_)
        return false;
    blockStart_ += static_cast<long long>(end_);
    begin_ = 0;
    // A file that grows while it is read (a log arriving on standard input) has more to give
    // after its end was met.
    std::clearerr(file_);
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    return end_ > 0;
}

bool LineReader::eof() {
    return !fill();
}

std::string LineReader::openAtLastLine(const std::string& path) {
    if (!open(path) || std::fseek(file_, 0, SEEK_END) != 0)
        return "";
    long size = std::ftell(file_);
    // Widen the tail until a line ending before the last line is in it, or the whole file is.
    for (long tail = static_cast<long>(buffer_.size());; tail *= 2) {
        long start = std::max(0L, size - tail);
        std::fseek(file_, start, SEEK_SET);
        begin_ = end_ = 0;
        blockStart_ = start;
        if (start > 0)
            readLine(); // the first line of the tail may be cut: not a line of its own
        std::string last;
        bool found = false;
        while (!eof()) {
            last = readLine();
            found = true;
        }
        if (found || start == 0)
            return last;
    }
}

size_t LineReader::nextEnding() {
    return FindEither(std::string_view(buffer_.data(), end_), begin_, '\r', '\n');
}

std::string_view LineReader::nextChunk() {
    if (!fill())
        return {};
    size_t ending = nextEnding();
    size_t end = ending == end_ ? end_ : ending + 1;
    if (ending < end_ && buffer_[ending] == '\r' && end < end_ && buffer_[end] == '\n')
        ++end;
    std::string_view chunk(buffer_.data() + begin_, end - begin_);
    begin_ = end;
    return chunk;
}

std::string_view LineReader::nextLine() {
    split_.clear();
    bool split = false;
    auto keep = [this](std::string_view piece) {
        split_.append(piece.substr(0, kMaxLine - std::min(kMaxLine, split_.size())));
    };
    while (fill()) {
        size_t ending = nextEnding();
        std::string_view piece(buffer_.data() + begin_, ending - begin_);
        begin_ = ending;
        if (ending == end_) {
            // The line goes on in the next block.
            keep(piece);
            split = true;
            continue;
        }
        ++begin_;
        bool cr = buffer_[ending] == '\r';
        // CR LF is one ending, even when the LF comes with the next block, which overwrites
        // the buffer: the line is copied before that block is read.
        if (split || (cr && begin_ == end_)) {
            keep(piece);
            split = true;
        }
        if (cr && fill() && buffer_[begin_] == '\n')
            ++begin_;
        return split ? std::string_view(split_) : piece.substr(0, kMaxLine);
    }
    return split_;
}

} // namespace korvel
