#include "text/line_reader.h"

namespace korvel {

LineReader::~LineReader() {
    close();
}

bool LineReader::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_)
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    return file_ != nullptr;
}

void LineReader::close() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

int LineReader::peekByte() {
    int c = std::getc(file_);
    if (c != EOF)
        std::ungetc(c, file_);
    return c;
}

bool LineReader::eof() {
    return !file_ || peekByte() == EOF;
}

std::string LineReader::readLine() {
    std::string line;
    if (!file_)
        return line;
    int c;
    while ((c = std::getc(file_)) != EOF) {
        if (c == '\n')
            break;
        if (c == '\r') {
            if (peekByte() == '\n')
                std::getc(file_);
            break;
        }
        if (line.size() < kMaxLine)
            line.push_back(static_cast<char>(c));
    }
    return line;
}

} // namespace korvel
