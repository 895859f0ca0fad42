// Searching short stretches of text, such as a line or a field, for a byte: sixteen bytes at a
// time where the machine offers it, as a library search costs more to start than a line takes
// to scan, and it looks for one byte only.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvel {

#ifdef __SSE2__
// Which of the sixteen bytes from data are a or b: a bit each, the first byte's lowest.
inline unsigned EitherIn16(const char* data, char a, char b) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(bytes, _mm_set1_epi8(a)), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(b)))));
}
#endif

// How many bits of a sixteen-bit mask are set, in a few instructions: the baseline x86-64 has
// no instruction for it, and the compiler's builtin becomes a library call.
inline size_t BitsSet16(unsigned mask) {
    mask = mask - ((mask >> 1) & 0x5555);
    mask = (mask & 0x3333) + ((mask >> 2) & 0x3333);
    mask = (mask + (mask >> 4)) & 0x0F0F;
    return (mask + (mask >> 8)) & 0x1F;
}

// The first position from `from` on where text holds a or b; text.size() when none does.
inline size_t FindEither(std::string_view text, size_t from, char a, char b) {
    const char* data = text.data();
    size_t i = from, end = text.size();
#ifdef __SSE2__
    for (; i + 16 <= end; i += 16)
        if (unsigned found = EitherIn16(data + i, a, b))
            return i + static_cast<size_t>(__builtin_ctz(found));
    // The last bytes in one look too: the sixteen that end the text, those before i left out.
    if (i < end && end >= 16) {
        size_t last = end - 16;
        unsigned found = EitherIn16(data + last, a, b) >> (i - last);
        return found ? i + static_cast<size_t>(__builtin_ctz(found)) : end;
    }
#endif
    for (; i < end; ++i)
        if (data[i] == a || data[i] == b)
            return i;
    return end;
}

inline size_t FindByte(std::string_view text, size_t from, char c) {
    return FindEither(text, from, c, c);
}

// Where text holds its nth byte c (n from 1) from `from` on; text.size() when it holds fewer.
// A field deep in a sentence is found in one pass, however many commas lie before it.
inline size_t FindNth(std::string_view text, size_t from, char c, size_t n) {
    const char* data = text.data();
    size_t i = from, end = text.size();
#ifdef __SSE2__
    for (; i + 16 <= end; i += 16) {
        unsigned mask = EitherIn16(data + i, c, c);
        size_t count = BitsSet16(mask);
        if (count >= n) {
            for (; n > 1; --n)
                mask &= mask - 1;
            return i + static_cast<size_t>(__builtin_ctz(mask));
        }
        n -= count;
    }
#endif
    for (; i < end; ++i)
        if (data[i] == c && --n == 0)
            return i;
    return end;
}

// Where text holds its first n bytes c, in order; text.size() for those it lacks. One look at
// each 32 bytes, however many of them it holds: the leading fields of a line lie in the first.
template <size_t n> std::array<size_t, n> FindFirst(std::string_view text, char c) {
    std::array<size_t, n> at;
    at.fill(text.size());
    const char* data = text.data();
    size_t found = 0, i = 0, end = text.size();
#ifdef __SSE2__
    for (; i + 32 <= end; i += 32)
        for (unsigned mask = EitherIn16(data + i, c, c) | EitherIn16(data + i + 16, c, c) << 16;
             mask != 0; mask &= mask - 1) {
            at[found] = i + static_cast<size_t>(__builtin_ctz(mask));
            if (++found == n)
                return at;
        }
#endif
    for (; i < end; ++i)
        if (data[i] == c && (at[found] = i, ++found == n))
            return at;
    return at;
}

} // namespace korvel
