// Finding the lines of a block of text in one pass that also learns what a reader of NMEA
// sentences asks of each line first: the XOR of its bytes, and whether a "$" or "!" follows its
// first byte. Each line is looked at once, sixteen bytes at a time, instead of once to find its
// end and again for every question.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvel {

struct LineSurvey {
    unsigned xorOfBytes = 0;    // every byte of the line, XORed
    bool sentenceMarks = false; // a "$" or "!" after the line's first byte
};

// Calls look(line, survey) for the lines of block that begin before stopAt, in order, and
// returns the bytes they take with their endings. A line ends at CR LF, LF or a lone CR. It
// stops before a line whose ending it cannot see: one that runs on past the block or into its
// last sixteen bytes, or a CR that ends the block (its LF may come with the next). Without the
// machine's vector unit it stops at once: every line is read alone. Without survey, the survey
// is left empty: a reader of other lines has no use for it.
template <bool survey, class Look>
size_t SweepLines(std::string_view block, size_t stopAt, Look look) {
    size_t start = 0;
#ifdef __SSE2__
    // The first k bytes of a look are kept by a mask loaded from 16 - k.
    alignas(16) static constexpr unsigned char kKeep[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                            0xFF, 0xFF, 0xFF, 0xFF};
    const char* data = block.data();
    const size_t size = block.size();
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    const __m128i dollar = _mm_set1_epi8('$'), bang = _mm_set1_epi8('!');
    while (start < stopAt) {
        __m128i sum = _mm_setzero_si128();
        unsigned marks = 0, first = 1; // the line's first byte is no mark
        size_t end = size;
        for (size_t i = start; i + 16 <= size; i += 16) {
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            auto found = [&bytes](__m128i a, __m128i b) {
                return static_cast<unsigned>(_mm_movemask_epi8(
                    _mm_or_si128(_mm_cmpeq_epi8(bytes, a), _mm_cmpeq_epi8(bytes, b))));
            };
            unsigned ends = found(cr, lf), here = survey ? found(dollar, bang) & ~first : 0;
            first = 0;
            if (ends) {
                unsigned k = static_cast<unsigned>(__builtin_ctz(ends));
                end = i + k;
                if (survey) {
                    marks |= here & ((1u << k) - 1);
                    __m128i keep =
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kKeep + 16 - k));
                    sum = _mm_xor_si128(sum, _mm_and_si128(bytes, keep));
                }
                break;
            }
            marks |= here;
            sum = survey ? _mm_xor_si128(sum, bytes) : sum;
        }
        size_t next = end + 1;
        if (end == size || (data[end] == '\r' && next == size))
            break;
        if (data[end] == '\r' && data[next] == '\n')
            ++next;
        LineSurvey found;
        if (survey) {
            std::uint64_t wide =
                static_cast<std::uint64_t>(_mm_cvtsi128_si64(sum)) ^
                static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sum, sum)));
            wide ^= wide >> 32;
            wide ^= wide >> 16;
            wide ^= wide >> 8;
            found = {static_cast<unsigned>(wide & 0xFF), marks != 0};
        }
        look(block.substr(start, end - start), found);
        start = next;
    }
#else
    (void)block, (void)stopAt, (void)look;
#endif
    return start;
}

} // namespace korvel
