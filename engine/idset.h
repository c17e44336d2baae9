#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane {

/// The element ids of a page. The only question ever asked of them is whether
/// a fragment names one (compared without case, as anchor names are), so each
/// is kept as a 64-bit hash of its case-folded text: eight bytes an id, and a
/// look-up that compares numbers. Two different ids of one page would have to
/// share a hash for a fragment to be taken for the wrong one.
class IdSet
{
public:
    /// The hash an id is kept as: its text with a-z folded onto A-Z, hashed.
    static uint64_t HashOf(std::string_view id);

    void Add(std::string_view id) { AddHashes({HashOf(id)}); }
    /// Adds ids given by their hashes (in any order, repeats allowed).
    void AddHashes(std::vector<uint64_t> hashes);
    bool Contains(std::string_view id) const;

    size_t size() const { return m_hashes.size(); }
    bool empty() const { return m_hashes.empty(); }
    /// The hashes, ascending and each once.
    const std::vector<uint64_t> &hashes() const { return m_hashes; }
    bool operator==(const IdSet &) const = default;

private:
    std::vector<uint64_t> m_hashes;
};

} // namespace orvane
