#include "engine/idset.h"

#include "engine/pathindex.h"

#include <algorithm>

namespace orvane {

namespace {

struct Entry
{
    uint64_t hash;
    std::string_view text;
};

} // namespace

uint64_t IdSet::HashOf(std::string_view id)
{
    // The path index folds and hashes text the same way, eight bytes at a time.
    return PathIndex::FoldedHash(id);
}

void IdSet::Add(std::string_view id)
{
    AddAll(id, {static_cast<uint32_t>(id.size())});
}

void IdSet::AddAll(std::string_view texts, const std::vector<uint32_t> &ends)
{
    if (ends.empty())
        return;
    // Page text never holds a NUL (extraction made them blanks), so it can
    // end each id in the buffer.
    std::vector<Entry> entries;
    entries.reserve(m_hashes.size() + ends.size());
    size_t begin = 0;
    ForEachText([&](std::string_view text) { entries.push_back({m_hashes[begin++], text}); });
    begin = 0;
    for (const uint32_t end : ends) {
        const std::string_view text = texts.substr(begin, end - begin);
        entries.push_back({HashOf(text), text});
        begin = end;
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.hash < b.hash; });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const Entry &a, const Entry &b) { return a.hash == b.hash; }),
                  entries.end());
    std::vector<uint64_t> hashes;
    hashes.reserve(entries.size());
    size_t length = 0;
    for (const Entry &entry : entries)
        length += entry.text.size() + 1;
    std::string joined;
    joined.reserve(length);
    for (const Entry &entry : entries) {
        hashes.push_back(entry.hash);
        joined.append(entry.text);
        joined += '\0';
    }
    m_hashes = std::move(hashes);
    m_texts = std::move(joined);
}

bool IdSet::Contains(std::string_view id) const
{
    return std::binary_search(m_hashes.begin(), m_hashes.end(), HashOf(id));
}

} // namespace orvane
