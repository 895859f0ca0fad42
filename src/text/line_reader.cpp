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
