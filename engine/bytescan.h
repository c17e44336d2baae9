#pragma once

#include <cstddef>
#include <cstdint>
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

/// Calls visit(i), in order, for every i where text holds a "<" that is not
/// followed by "/", until visit returns false. Half the tags of a page are
/// closing ones, which open no element: they are passed over sixteen places
/// at a time instead of one by one.
template<typename Visit>
void ForEachOpeningTag(std::string_view text, Visit &&visit)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i slash = _mm_set1_epi8('/');
    const auto hitsAt = [&](const char *at) -> uint64_t {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + 1));
        return static_cast<unsigned>(_mm_movemask_epi8(
            _mm_andnot_si128(_mm_cmpeq_epi8(next, slash), _mm_cmpeq_epi8(here, lt))));
    };
    // Visits the hits of a mask of places from base on; false once told to stop.
    const auto visitHits = [&](size_t base, uint64_t mask) {
        for (; mask != 0; mask &= mask - 1) {
            if (!visit(base + static_cast<size_t>(__builtin_ctzll(mask))))
                return false;
        }
        return true;
    };
    // Sixty-four places a round: tags are dense, and whether a block holds
    // one is a guess the processor often gets wrong, so it is asked once for
    // four blocks.
    for (; i + 65 <= text.size(); i += 64) {
        const char *at = text.data() + i;
        if (!visitHits(i, hitsAt(at) | hitsAt(at + 16) << 16 | hitsAt(at + 32) << 32 |
                              hitsAt(at + 48) << 48))
            return;
    }
    for (; i + 17 <= text.size(); i += 16) {
        if (!visitHits(i, hitsAt(text.data() + i)))
            return;
    }
#endif
    for (; i < text.size(); ++i) {
        if (text[i] == '<' && (i + 1 == text.size() || text[i + 1] != '/') && !visit(i))
            return;
    }
}

/// How many of the bytes in [from, to) of text are c; sixteen at a time.
inline size_t CountOf(std::string_view text, size_t from, size_t to, char c)
{
    size_t count = 0;
    size_t i = from;
#if defined(__SSE2__)
    // Each lane counts its hits as a byte, so a run stops before 255 blocks;
    // then the lanes are summed.
    const __m128i vc = _mm_set1_epi8(c);
    while (i + 16 <= to) {
        __m128i lanes = _mm_setzero_si128();
        for (int blocks = 0; blocks < 255 && i + 16 <= to; ++blocks, i += 16) {
            const __m128i block =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(block, vc));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; i < to; ++i)
        count += text[i] == c ? 1 : 0;
    return count;
}

/// Calls visit(i), in order, for every i at which text holds a blank (space,
/// CR or LF) followed by the two letters upper0 and upper1 in any letter case
/// (i being the place of the first letter), until visit returns false. Such
/// a pair is rare in a page, so sixteen places are tested at a time.
template<typename Visit>
void ForEachBlankThenPair(std::string_view text, char upper0, char upper1, Visit &&visit)
{
    // Setting bit 0x20 folds exactly one other byte onto a lower-case letter:
    // its upper-case form.
    const char lower0 = static_cast<char>(upper0 | 0x20);
    const char lower1 = static_cast<char>(upper1 | 0x20);
    const auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n'; };
    size_t i = 1;
#if defined(__SSE2__)
    const __m128i fold = _mm_set1_epi8(0x20);
    const __m128i first = _mm_set1_epi8(lower0);
    const __m128i second = _mm_set1_epi8(lower1);
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 17 <= text.size(); i += 16) {
        const char *at = text.data() + i;
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at - 1));
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + 1));
        const __m128i blanks =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(before, space), _mm_cmpeq_epi8(before, cr)),
                         _mm_cmpeq_epi8(before, lf));
        const __m128i hits =
            _mm_and_si128(_mm_and_si128(blanks, _mm_cmpeq_epi8(_mm_or_si128(here, fold), first)),
                          _mm_cmpeq_epi8(_mm_or_si128(after, fold), second));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits)); mask != 0;
             mask &= mask - 1) {
            if (!visit(i + static_cast<size_t>(__builtin_ctz(mask))))
                return;
        }
    }
#endif
    for (; i + 1 < text.size(); ++i) {
        if (blank(text[i - 1]) && (text[i] | 0x20) == lower0 && (text[i + 1] | 0x20) == lower1 &&
            !visit(i))
            return;
    }
}

/// The first place at or after from where text holds marker (two bytes or
/// more), or npos. A library search stops at every hit of the marker's first
/// byte, and "<" or "-" is everywhere in a page; here the first two bytes are
/// tested at sixteen places at a time.
inline size_t FindMarker(std::string_view text, std::string_view marker, size_t from)
{
    const size_t n = marker.size();
    if (from > text.size() || text.size() - from < n)
        return std::string_view::npos;
    const size_t last = text.size() - n; // the last place a marker fits
    const auto matches = [&](size_t i) { return text.compare(i, n, marker) == 0; };
    size_t i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(marker[0]);
    const __m128i second = _mm_set1_epi8(marker[1]);
    for (; i + 16 <= last + 1; i += 16) {
        const char *at = text.data() + i;
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + 1));
        const __m128i hits =
            _mm_and_si128(_mm_cmpeq_epi8(here, first), _mm_cmpeq_epi8(next, second));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits)); mask != 0;
             mask &= mask - 1) {
            const size_t hit = i + static_cast<size_t>(__builtin_ctz(mask));
            if (matches(hit))
                return hit;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (text[i] == marker[0] && matches(i))
            return i;
    }
    return std::string_view::npos;
}

} // namespace orvane
