#pragma once

#include "engine/pathindex.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane {

/// A link of a page taken apart for its classification.
struct ParsedLink
{
    enum class Kind : uint8_t {
        none,         // names no target at all
        external,     // left alone
        rootRelative, // "/..." under a server root, checked on the disk
        inSite,       // looked up in the tree
        fileUrl,      // "file://..."
    };

    Kind kind = Kind::none;
    std::string path;   // the path part
    std::string anchor; // the fragment
    /// In-site: the path resolved against the page, and the index's hash of
    /// it; empty when the link before had the same path part.
    std::string full;
    uint64_t fullHash = 0;
};

/// Takes a page's links apart a few links before they are classified, and
/// fetches what classifying each will read in steps spread over the links
/// between: the index slot, then the object, then its path, node and anchors,
/// then the node's children. A look-up waits for memory at each of these in
/// turn; this way the waits of neighbouring links overlap.
class TargetLookAhead
{
public:
    /// For a page of count links, looked up in index.
    TargetLookAhead(const PathIndex &index, size_t count)
        : m_index(index)
        , m_count(count)
    {
    }

    /// Link i taken apart, for i = 0, 1, ... in turn; parse(j, link) takes
    /// link j apart.
    template<typename Parse>
    ParsedLink &Advance(size_t i, Parse &&parse)
    {
        if (i == 0)
            for (size_t t = 0; t < Distance; ++t)
                step(t, parse);
        step(i + Distance, parse);
        return m_ring[i % m_ring.size()];
    }

private:
    // Links between taking one apart and classifying it; each of the four
    // fetches comes a quarter of the way later than the one before.
    static constexpr size_t Distance = 8;
    static constexpr size_t Step = Distance / 4;

    /// Takes link j apart and moves the links taken apart before it a step on.
    template<typename Parse>
    void step(size_t j, Parse &&parse)
    {
        if (j < m_count) {
            ParsedLink &link = at(j);
            parse(j, link);
            if (!link.full.empty())
                m_index.FetchSlot(link.fullHash);
        }
        for (size_t k = 1; k * Step < Distance; ++k)
            if (j >= k * Step && j - k * Step < m_count)
                fetchTarget(at(j - k * Step), static_cast<int>(k) - 1);
    }

    /// Step 0, 1 or 2 of fetching what classifying the link will read of its
    /// target, if it has one.
    void fetchTarget(const ParsedLink &link, int step) const;

    ParsedLink &at(size_t j) { return m_ring[j % m_ring.size()]; }

    const PathIndex &m_index;
    const size_t m_count;
    std::array<ParsedLink, Distance + 1> m_ring;
};

} // namespace orvane
