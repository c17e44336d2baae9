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
    entries.reserve(size() + ends.size());
    size_t index = 0;
    ForEachText([&](std::string_view text) { entries.push_back({hashAt(index++), text}); });
    size_t begin = 0;
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
    size_t length = 8 + 8 * entries.size();
    for (const Entry &entry : entries)
        length += entry.text.size() + 1;
    // The old texts may be among the entries: the buffer is replaced last.
    std::string data(8 + 8 * entries.size(), '\0');
    data.reserve(length);
    const uint64_t count = entries.size();
    std::memcpy(data.data(), &count, sizeof count);
    for (size_t i = 0; i < entries.size(); ++i)
        std::memcpy(data.data() + 8 + 8 * i, &entries[i].hash, sizeof entries[i].hash);
    for (const Entry &entry : entries) {
        data.append(entry.text);
        data += '\0';
    }
    m_data = std::move(data);
}

std::vector<uint64_t> IdSet::hashes() const
{
    std::vector<uint64_t> out(size());
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = hashAt(i);
    return out;
}

bool IdSet::Contains(std::string_view id) const
{
    const uint64_t hash = HashOf(id);
    size_t low = 0;
    size_t high = size();
    while (low < high) {
        const size_t mid = (low + high) / 2;
        const uint64_t at = hashAt(mid);
        if (at == hash)
            return true;
        if (at < hash)
            low = mid + 1;
        else
            high = mid;
    }
    return false;
}

} // namespace orvane
