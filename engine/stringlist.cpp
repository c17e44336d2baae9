#include "engine/stringlist.h"

#include "base/strutil.h"

#include <algorithm>

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
    // Existing entries come first so that they win over equal newcomers; a
    // stable sort keeps the order of addition among equal texts.
    std::vector<std::string> merged;
    merged.reserve(m_items.size() + texts.size());
    std::move(m_items.begin(), m_items.end(), std::back_inserter(merged));
    std::move(texts.begin(), texts.end(), std::back_inserter(merged));
    std::stable_sort(merged.begin(), merged.end(), TextLess());
    auto last = std::unique(merged.begin(), merged.end(), [](const auto &a, const auto &b) {
        return CompareText(a, b) == 0;
    });
    merged.erase(last, merged.end());
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
