#include "project/memoryprojectview.h"

#include "base/strutil.h"

#include <algorithm>

namespace orvane {

void MemoryListView::add(const std::string &text)
{
    if (!m_sorted) {
        m_items.push_back(text);
        return;
    }
    // A sorted list box places a new entry after the entries equal to it.
    // Entries mostly come in order: the end is tried first.
    if (m_items.empty() || !TextLess()(text, m_items.back())) {
        m_items.push_back(text);
        return;
    }
    auto it = std::upper_bound(m_items.begin(), m_items.end(), text, TextLess());
    m_items.insert(it, text);
}

void MemoryListView::deleteAt(int index)
{
    if (index >= 0 && index < count())
        m_items.erase(m_items.begin() + index);
}

std::string MemoryListView::textAt(int index) const
{
    return index >= 0 && index < count() ? m_items[static_cast<size_t>(index)] : std::string();
}

int MemoryListView::indexOf(const std::string &text) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (SameText(m_items[i], text))
            return static_cast<int>(i);
    return -1;
}

} // namespace orvane
