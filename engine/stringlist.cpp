#include "engine/stringlist.h"

#include "base/strutil.h"

#include <algorithm>
#include <unordered_set>

namespace orvane {

bool SortedStringList::Add(std::string text)
{
    auto it = std::lower_bound(m_items.begin(), m_items.end(), text, TextLess());
    if (it != m_items.end() && CompareText(*it, text) == 0)
        return false;
    m_items.insert(it, std::move(text));
    return true;
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
        std::unordered_set<std::string_view> seen;
        seen.reserve(texts.size());
        for (uint32_t i = 0; i < texts.size(); ++i)
            if (seen.insert(texts[i]).second)
                order.push_back(i);
    }
    // Among texts equal without case the order of addition decides, so the
    // first one added stays.
    std::sort(order.begin(), order.end(), [&texts](uint32_t a, uint32_t b) {
        const int c = CompareText(texts[a], texts[b]);
        return c < 0 || (c == 0 && a < b);
    });
    SortedStringList sorted;
    sorted.m_items.reserve(order.size());
    for (uint32_t i : order)
        if (sorted.empty() || CompareText(sorted.m_items.back(), texts[i]) != 0)
            sorted.m_items.push_back(std::move(texts[i]));
    Merge(std::move(sorted));
}

void SortedStringList::Merge(SortedStringList &&other)
{
    std::vector<std::string> &sorted = other.m_items;
    if (m_items.empty()) {
        m_items = std::move(sorted);
        return;
    }
    // Entries already in the list win over equal newcomers.
    std::vector<std::string> merged;
    merged.reserve(m_items.size() + sorted.size());
    size_t a = 0;
    size_t b = 0;
    while (a < m_items.size() || b < sorted.size()) {
        if (b == sorted.size()) {
            merged.push_back(std::move(m_items[a++]));
            continue;
        }
        const int c = a == m_items.size() ? 1 : CompareText(m_items[a], sorted[b]);
        if (c <= 0) {
            merged.push_back(std::move(m_items[a++]));
            if (c == 0)
                ++b;
        } else {
            merged.push_back(std::move(sorted[b++]));
        }
    }
    m_items = std::move(merged);
}

int SortedStringList::IndexOf(std::string_view text) const
{
    auto it = std::lower_bound(m_items.begin(), m_items.end(), text, TextLess());
    if (it != m_items.end() && CompareText(*it, text) == 0)
        return static_cast<int>(it - m_items.begin());
    return -1;
}

std::vector<std::string> LinkSubset::ToVector() const
{
    std::vector<std::string> out;
    out.reserve(m_indices.size());
    for (uint32_t i : m_indices)
        out.push_back((*m_base)[i]);
    return out;
}

} // namespace orvane
