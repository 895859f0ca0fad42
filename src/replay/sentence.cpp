#include "replay/sentence.h"

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
    // Search starts at the fifth character (0-based 4), as the identifier is at least that long.
    size_t p = 4;
    for (int i = 0; i < n; ++i) {
        size_t comma = p <= line.size() ? line.find(',', p) : std::string_view::npos;
        if (comma == std::string_view::npos)
            return "";
        p = comma + 1;
    }
    size_t q = line.find(',', p);
    if (q == std::string_view::npos)
        q = line.find('*', p);
    if (q == std::string_view::npos)
        q = line.size();
    return std::string(line.substr(p, q - p));
}

} // namespace korvel
