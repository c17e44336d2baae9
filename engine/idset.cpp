#include "engine/idset.h"

#include "engine/pathindex.h"

#include <algorithm>

namespace orvane {

uint64_t IdSet::HashOf(std::string_view id)
{
    // The path index folds and hashes text the same way, eight bytes at a time.
    return PathIndex::FoldedHash(id);
}

void IdSet::AddHashes(std::vector<uint64_t> hashes)
{
    if (!m_hashes.empty())
        hashes.insert(hashes.end(), m_hashes.begin(), m_hashes.end());
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
    m_hashes = std::move(hashes);
}

bool IdSet::Contains(std::string_view id) const
{
    return std::binary_search(m_hashes.begin(), m_hashes.end(), HashOf(id));
}

} // namespace orvane
