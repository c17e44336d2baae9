#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {

/// Calls visit(i), in order, for every i in [from, to) where text[i] is one of
/// the bytes a, b and c (repeat one to look for fewer), until visit returns
/// false. Pages are dense with tags and tags with blanks: a library search per
/// hit costs more than the hit, so sixteen bytes are compared at a time where
/// the processor allows it.
template<typename Visit>
void ForEachOf(std::string_view text, size_t from, size_t to, char a, char b, char c, Visit &&visit)
{
    size_t i = from;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    for (; i + 16 <= to; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + i));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, va), _mm_cmpeq_epi8(block, vb)),
                         _mm_cmpeq_epi8(block, vc));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits)); mask != 0;
             mask &= mask - 1) {
            if (!visit(i + static_cast<size_t>(__builtin_ctz(mask))))
                return;
        }
    }
#endif
    for (; i < to; ++i) {
        if ((text[i] == a || text[i] == b || text[i] == c) && !visit(i))
            return;
    }
}

} // namespace orvane
