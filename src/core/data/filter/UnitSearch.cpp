#include "data/filter/UnitSearch.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv::filter {

namespace {

// Whether the needle stands at the place whose first and last units are
// already known to match.
bool middleMatches(const char16_t *place, std::u16string_view needle)
{
    // Needles are short: a plain loop beats a call of memcmp.
    for (size_t k = 1; k + 1 < needle.size(); ++k) {
        if (place[k] != needle[k])
            return false;
    }
    return true;
}

} // namespace

bool containsUnits(std::u16string_view text, std::u16string_view needle)
{
    if (needle.empty())
        return true;
    if (text.size() < needle.size())
        return false;
    const char16_t first = needle.front();
    const char16_t last = needle.back();
    const char16_t *t = text.data();
    const size_t lastOffset = needle.size() - 1;
    const size_t places = text.size() - lastOffset;
#if defined(__SSE2__)
    if (places >= 8) {
        const __m128i firsts = _mm_set1_epi16(short(first));
        const __m128i lasts = _mm_set1_epi16(short(last));
        // Blocks of eight places; the last block overlaps the one before
        // it rather than leaving a tail to try one place at a time.
        for (size_t i = 0;; i = std::min(i + 8, places - 8)) {
            const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t + i));
            const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t + i + lastOffset));
            // Two mask bits per unit.
            unsigned both = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(heads, firsts), _mm_cmpeq_epi16(tails, lasts))));
            while (both != 0) {
                const int bit = __builtin_ctz(both);
                if (middleMatches(t + i + size_t(bit / 2), needle))
                    return true;
                both &= ~(3u << bit);
            }
            if (i == places - 8)
                return false;
        }
    }
#endif
    for (size_t i = 0; i < places; ++i) {
        if (t[i] == first && t[i + lastOffset] == last && middleMatches(t + i, needle))
            return true;
    }
    return false;
}

} // namespace qv::filter
