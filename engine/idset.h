#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// The element ids of a page. Whether a fragment names one (compared without
/// case, as anchor names are) is asked of every link, so each is kept as a
/// 64-bit hash of its case-folded text: a look-up compares numbers. Two
/// different ids of one page would have to share a hash for a fragment to be
/// taken for the wrong one. The texts themselves are kept too, one after
/// another in one buffer, for the rare question of which id a mistyped
/// fragment meant.
class IdSet
{
public:
    /// The hash an id is kept as: its text with a-z folded onto A-Z, hashed.
    static uint64_t HashOf(std::string_view id);

    void Add(std::string_view id);
    /// Adds ids given one after another in texts, the i-th ending at ends[i]
    /// (in any order, repeats allowed: of ids equal without case the first
    /// one added stays).
    void AddAll(std::string_view texts, const std::vector<uint32_t> &ends);
    bool Contains(std::string_view id) const;

    size_t size() const { return m_hashes.size(); }
    bool empty() const { return m_hashes.empty(); }
    /// The hashes, ascending and each once.
    const std::vector<uint64_t> &hashes() const { return m_hashes; }
    /// Calls f with the text of every id, in the order of hashes().
    template<typename F>
    void ForEachText(F &&f) const
    {
        for (size_t begin = 0; begin < m_texts.size();) {
            const size_t end = m_texts.find('\0', begin);
            f(std::string_view(m_texts).substr(begin, end - begin));
            begin = end + 1;
        }
    }
    bool operator==(const IdSet &) const = default;

private:
    std::vector<uint64_t> m_hashes;
    std::string m_texts; // each id's text followed by a NUL, in the order of m_hashes
};

} // namespace orvane
