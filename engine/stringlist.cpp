#include "engine/stringlist.h"

#include "base/errors.h"
#include "base/strutil.h"
#include "base/usertext.h"

#include <algorithm>
#include <cstring>

namespace orvane {

void SortedStringList::assign(const std::vector<std::string_view> &texts)
{
    // The texts may be views into this list's own buffer: it goes last.
    if (texts.empty()) {
        Clear();
        return;
    }
    size_t bytes = 4 + 4 * texts.size();
    for (const std::string_view t : texts)
        bytes += t.size();
    if (bytes > UINT32_MAX)
        throw OrvaneError(Tr(QT_TRANSLATE_NOOP("Orvane", "リンクの一覧が大きすぎます")));
    std::string data(bytes, '\0');
    const auto count = static_cast<uint32_t>(texts.size());
    std::memcpy(data.data(), &count, sizeof count);
    char *end = data.data() + 4;
    char *text = end + 4 * texts.size();
    uint32_t at = 0;
    for (const std::string_view t : texts) {
        std::memcpy(text + at, t.data(), t.size());
        at += static_cast<uint32_t>(t.size());
        std::memcpy(end, &at, sizeof at);
        end += sizeof at;
    }
    m_data = std::move(data);
}

void SortedStringList::Clear()
{
    m_data.clear();
    m_data.shrink_to_fit();
}

bool SortedStringList::Add(std::string_view text)
{
    const auto it = std::lower_bound(begin(), end(), text, TextLess());
    if (it != end() && CompareText(*it, text) == 0)
        return false;
    std::vector<std::string_view> texts(begin(), end());
    texts.insert(texts.begin() + (it - begin()), text);
    assign(texts);
    return true;
}

void SortedStringList::AssignSorted(const std::vector<std::string> &texts)
{
    assign(std::vector<std::string_view>(texts.begin(), texts.end()));
}

namespace {

/// Mixes eight bytes at a time; equal texts hash alike, which is all the
/// table needs.
uint64_t hashBytes(std::string_view text)
{
    constexpr uint64_t Multiplier = 0xff51afd7ed558ccdULL;
    uint64_t h = text.size() * 0x9e3779b97f4a7c15ULL;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, text.data() + i, 8);
        h = (h ^ chunk) * Multiplier;
        h ^= h >> 32;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, text.data() + i, text.size() - i);
    h = (h ^ tail) * Multiplier;
    return h ^ (h >> 29);
}

/// The texts in list order, those equal without case to an earlier one (by
/// position in texts) left out; only the positions in order are looked at.
std::vector<std::string> sortedDistinct(std::vector<std::string> &texts,
                                        std::vector<uint32_t> order)
{
    // Among texts equal without case the order of addition decides, so the
    // first one added stays.
    std::sort(order.begin(), order.end(), [&texts](uint32_t a, uint32_t b) {
        const int c = CompareText(texts[a], texts[b]);
        return c < 0 || (c == 0 && a < b);
    });
    std::vector<std::string> sorted;
    sorted.reserve(order.size());
    for (uint32_t i : order)
        if (sorted.empty() || CompareText(sorted.back(), texts[i]) != 0)
            sorted.push_back(std::move(texts[i]));
    return sorted;
}

} // namespace

std::vector<uint32_t> FirstOfEqualTexts(const std::vector<std::string_view> &texts)
{
    size_t capacity = 16;
    while (capacity < 2 * texts.size())
        capacity *= 2;
    constexpr uint32_t Free = UINT32_MAX;
    std::vector<uint32_t> slots(capacity, Free);
    std::vector<uint32_t> first(texts.size());
    for (uint32_t i = 0; i < texts.size(); ++i) {
        size_t slot = hashBytes(texts[i]) & (capacity - 1);
        while (slots[slot] != Free && texts[slots[slot]] != texts[i])
            slot = (slot + 1) & (capacity - 1);
        if (slots[slot] == Free)
            slots[slot] = i;
        first[i] = slots[slot];
    }
    return first;
}

void SortedStringList::AddAll(std::vector<std::string> texts)
{
    if (texts.empty())
        return;
    // A page names many targets over and over. A text that repeats an earlier
    // one byte for byte would be dropped as a duplicate anyway, so it goes
    // before the sort instead of taking part in it.
    std::vector<uint32_t> order;
    order.reserve(texts.size());
    {
        const std::vector<uint32_t> first =
            FirstOfEqualTexts(std::vector<std::string_view>(texts.begin(), texts.end()));
        for (uint32_t i = 0; i < texts.size(); ++i)
            if (first[i] == i)
                order.push_back(i);
    }
    SortedStringList sorted;
    sorted.AssignSorted(sortedDistinct(texts, std::move(order)));
    Merge(std::move(sorted));
}

void SortedStringList::Merge(SortedStringList &&other)
{
    if (empty()) {
        *this = std::move(other);
        return;
    }
    // Entries already in the list win over equal newcomers.
    std::vector<std::string_view> merged;
    merged.reserve(size() + other.size());
    size_t a = 0;
    size_t b = 0;
    while (a < size() || b < other.size()) {
        if (b == other.size()) {
            merged.push_back((*this)[a++]);
            continue;
        }
        const int c = a == size() ? 1 : CompareText((*this)[a], other[b]);
        if (c <= 0) {
            merged.push_back((*this)[a++]);
            if (c == 0)
                ++b;
        } else {
            merged.push_back(other[b++]);
        }
    }
    assign(merged);
}

int SortedStringList::IndexOf(std::string_view text) const
{
    const auto it = std::lower_bound(begin(), end(), text, TextLess());
    if (it != end() && CompareText(*it, text) == 0)
        return static_cast<int>(it - begin());
    return -1;
}

std::vector<std::string> LinkSubset::ToVector() const
{
    std::vector<std::string> out;
    out.reserve(m_size);
    for (uint32_t i = 0; i < m_size; ++i)
        out.emplace_back((*m_base)[m_indices[i]]);
    return out;
}

} // namespace orvane
