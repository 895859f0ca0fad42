// Searching short stretches of text, such as a line or a field, for a byte: sixteen bytes at a
// time where the machine offers it, as a library search costs more to start than a line takes
// to scan, and it looks for one byte only.
#pragma once

#include <cstddef>
#include <string_view>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvel {

// The first position from `from` on where text holds a or b; text.size() when none does.
inline size_t FindEither(std::string_view text, size_t from, char a, char b) {
    const char* data = text.data();
    size_t i = from, end = text.size();
#ifdef __SSE2__
    const __m128i first = _mm_set1_epi8(a), second = _mm_set1_epi8(b);
    for (; i + 16 <= end; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        auto found = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, first), _mm_cmpeq_epi8(bytes, second))));
        if (found != 0)
            return i + static_cast<size_t>(__builtin_ctz(found));
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

} // namespace korvel
