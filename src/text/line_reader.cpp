#include "text/line_reader.h"

#include <algorithm>

namespace korvel {

LineReader::~LineReader() {
    close();
}

bool LineReader::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

void LineReader::close() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    begin_ = end_ = 0;
}

bool LineReader::fill() {
    if (begin_ < end_)
        return true;
    if (!file_)
        return false;
    begin_ = 0;
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

std::string LineReader::readLine() {
    std::string line;
    while (fill()) {
        const char* start = buffer_.data() + begin_;
        const char* stop = buffer_.data() + end_;
        const char* ending =
            std::find_if(start, stop, [](char c) { return c == '\n' || c == '\r'; });
        size_t room = kMaxLine - line.size();
        line.append(start, std::min(static_cast<size_t>(ending - start), room));
        begin_ = static_cast<size_t>(ending - buffer_.data());
        if (ending == stop)
            continue;
        ++begin_;
        // CR LF is one ending, even when the LF comes with the next read.
        if (*ending == '\r' && fill() && buffer_[begin_] == '\n')
            ++begin_;
        break;
    }
    return line;
}

} // namespace korvel
