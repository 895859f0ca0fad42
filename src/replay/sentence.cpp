#include "replay/sentence.h"

#include "text/byte_search.h"

namespace korvel {

std::string ChecksumHex(std::string_view text) {
    unsigned x = 0;
    for (unsigned char c : text)
        x ^= c;
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(x >> 4) & 0xF], digits[x & 0xF]};
}

std::string FrameSentence(std::string_view body) {
    std::string framed;
    framed.reserve(body.size() + 4);
    framed += '$';
    framed += body;
    framed += '*';
    framed += ChecksumHex(body);
    return framed;
}

std::string ExtractField(std::string_view line, int n) {
    return std::string(FieldView(line, n));
}

std::string_view FieldView(std::string_view line, int n) {
    // Search starts at the fifth character (0-based 4), as the identifier is at least that long.
    size_t p = 4, size = line.size();
    if (p > size)
        return "";
    if (n > 0) {
        p = FindNth(line, p, ',', static_cast<size_t>(n));
        if (p == size)
            return "";
        ++p;
    }
    size_t q = FindByte(line, p, ',');
    if (q == size)
        q = FindByte(line, p, '*');
    return line.substr(p, q - p);
}

void FieldViews(std::string_view line, std::span<std::string_view> fields) {
    size_t p = 4, size = line.size();
    for (std::string_view& field : fields) {
        if (p > size) {
            field = {};
            continue;
        }
        size_t q = FindByte(line, p, ',');
        field = line.substr(p, (q == size ? FindByte(line, p, '*') : q) - p);
        p = q + 1;
    }
}

} // namespace korvel
