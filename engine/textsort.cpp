#include "engine/textsort.h"

#include "base/strutil.h"

#include <algorithm>
#include <array>
#include <bit>

namespace orvane {

namespace {

// Below this many texts a plain insertion sort is the quicker.
constexpr size_t FewTexts = 16;

/// The folded byte of text at depth, or -1 past its end: a text that ends
/// sorts before every longer one it begins.
int byteAt(std::string_view text, size_t depth)
{
    return depth < text.size() ? static_cast<unsigned char>(asciiUpper(text[depth])) : -1;
}

/// Whether a sorts before b, both known to be equal without case up to depth.
bool lessFrom(const NumberedText &a, const NumberedText &b, size_t depth)
{
    const int c = CompareText(a.first.substr(std::min(depth, a.first.size())),
                              b.first.substr(std::min(depth, b.first.size())));
    return c < 0 || (c == 0 && a.second < b.second);
}

void insertionSort(NumberedText *texts, size_t n, size_t depth)
{
    for (size_t i = 1; i < n; ++i) {
        NumberedText item = texts[i];
        size_t j = i;
        for (; j > 0 && lessFrom(item, texts[j - 1], depth); --j)
            texts[j] = texts[j - 1];
        texts[j] = item;
    }
}

/// The partitions a run of texts may take at one depth before it is sorted by
/// comparing whole texts: a page made to defeat the pivots costs a few times
/// that sort at most (as many passes at a byte as a sort makes rounds).
size_t partitionsAllowed(size_t n)
{
    return 2 * static_cast<size_t>(std::bit_width(n)) + 8;
}

/// Three-way radix quicksort: the texts are split by their byte at depth
/// into those below, at and above a pivot's; those at it go on with the
/// next byte. The largest of the three parts is gone on with here and the
/// others, each at most half, are sorted by calls of their own, so calls
/// nest no deeper than the number of halvings.
void sortFrom(NumberedText *texts, size_t n, size_t depth, size_t allowed)
{
    while (n > FewTexts) {
        if (allowed == 0) {
            std::sort(texts, texts + n, [depth](const NumberedText &a, const NumberedText &b) {
                return lessFrom(a, b, depth);
            });
            return;
        }
        const int pivot = byteAt(texts[n / 2].first, depth);
        // [0, lt) below, [lt, i) at, [gt, n) above the pivot.
        size_t lt = 0;
        size_t i = 0;
        size_t gt = n;
        while (i < gt) {
            const int b = byteAt(texts[i].first, depth);
            if (b < pivot)
                std::swap(texts[lt++], texts[i++]);
            else if (b > pivot)
                std::swap(texts[i], texts[--gt]);
            else
                ++i;
        }
        struct Part
        {
            NumberedText *texts;
            size_t n;
            bool next; // goes on with the next byte
        };
        std::array<Part, 3> parts = {
            {{texts, lt, false}, {texts + lt, gt - lt, true}, {texts + gt, n - gt, false}}};
        if (pivot < 0) {
            // Texts equal without case: their numbers decide.
            std::sort(
                parts[1].texts, parts[1].texts + parts[1].n,
                [](const NumberedText &a, const NumberedText &b) { return a.second < b.second; });
            parts[1].n = 0;
        }
        const auto largestAt = std::max_element(
            parts.begin(), parts.end(), [](const Part &a, const Part &b) { return a.n < b.n; });
        const Part largest = *largestAt;
        for (auto part = parts.begin(); part != parts.end(); ++part) {
            if (part == largestAt || part->n < 2)
                continue;
            if (part->next)
                sortFrom(part->texts, part->n, depth + 1, partitionsAllowed(part->n));
            else
                sortFrom(part->texts, part->n, depth, allowed - 1);
        }
        texts = largest.texts;
        n = largest.n;
        if (largest.next) {
            ++depth;
            allowed = partitionsAllowed(n);
        } else {
            --allowed;
        }
    }
    insertionSort(texts, n, depth);
}

} // namespace

void SortTexts(std::span<NumberedText> texts)
{
    sortFrom(texts.data(), texts.size(), 0, partitionsAllowed(texts.size()));
}

void SortTextsAllowing(std::span<NumberedText> texts, size_t partitions)
{
    sortFrom(texts.data(), texts.size(), 0, partitions);
}

} // namespace orvane
