#include "replay/sentence.h"

#include "text/byte_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvel {

namespace {

// The XOR of the bytes of text, many bytes at a time: the bytes of the words' XOR, XORed
// together, are the XOR of all. Inline in the writing of every sentence sent.
[[gnu::always_inline]] inline unsigned checksumOf(std::string_view text) {
    const char* data = text.data();
    size_t i = 0, size = text.size();
    std::uint64_t wide = 0;
#ifdef __SSE2__
    __m128i sixteen = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16)
        sixteen =
            _mm_xor_si128(sixteen, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)));
    wide = static_cast<std::uint64_t>(_mm_cvtsi128_si64(sixteen)) ^
           static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sixteen, sixteen)));
#endif
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        wide ^= word;
    }
    if (i < size && size >= 8) {
        // The last bytes in one word: the eight that end the text, those already taken shifted
        // out (the first bytes are the word's lowest).
        std::uint64_t word;
        std::memcpy(&word, data + size - 8, 8);
        wide ^= word >> (8 * (8 - (size - i)));
        i = size;
    }
    wide ^= wide >> 32;
    wide ^= wide >> 16;
    wide ^= wide >> 8;
    unsigned x = static_cast<unsigned>(wide & 0xFF);
    for (; i < size; ++i)
        x ^= static_cast<unsigned char>(data[i]);
    return x;
}

// "*" and the two hexadecimal digits of the checksum of the body before it, at `at`.
void writeChecksum(char* at, std::string_view body) {
    static const char digits[] = "0123456789ABCDEF";
    unsigned x = checksumOf(body);
    at[0] = '*';
    at[1] = digits[(x >> 4) & 0xF];
    at[2] = digits[x & 0xF];
}

} // namespace

std::string FrameSentence(std::string_view body) {
    std::string framed;
    WriteSentence(framed, "$", body);
    return framed;
}

Checksum CheckChecksum(std::string_view sentence) {
    sentence = WithoutBlanksAfterChecksum(sentence);
    size_t size = sentence.size();
    if (size < 4 || sentence[size - 3] != '*')
        return Checksum::None;
    int high = ChecksumDigit(sentence[size - 2]), low = ChecksumDigit(sentence[size - 1]);
    bool right = high >= 0 && low >= 0 &&
                 checksumOf(sentence.substr(1, size - 4)) == static_cast<unsigned>(high * 16 + low);
    return right ? Checksum::Right : Checksum::Wrong;
}

void CloseWrittenSentence(std::string& sentence) {
    size_t body = sentence.size() - 3;
    writeChecksum(sentence.data() + body, std::string_view(sentence).substr(1, body - 1));
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
    size_t start = 4, size = line.size(), n = 0;
    if (start > size || fields.empty()) {
        std::fill(fields.begin(), fields.end(), std::string_view());
        return;
    }
    // Each comma ends a field and begins the next; true once every field asked for is found.
    auto commaAt = [&](size_t at) {
        fields[n++] = std::string_view(line.data() + start, at - start);
        start = at + 1;
        return n == fields.size();
    };
    size_t i = start;
#ifdef __SSE2__
    for (; i + 16 <= size; i += 16)
        for (unsigned mask = EitherIn16(line.data() + i, ',', ','); mask; mask &= mask - 1)
            if (commaAt(i + static_cast<size_t>(__builtin_ctz(mask))))
                return;
#endif
    for (; i < size; ++i)
        if (line[i] == ',' && commaAt(i))
            return;
    // The last field runs to its "*" or the end of the line; there are none after it.
    fields[n++] = line.substr(start, FindByte(line, start, '*') - start);
    std::fill(fields.begin() + static_cast<long>(n), fields.end(), std::string_view());
}

} // namespace korvel
