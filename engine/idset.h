#pragma once

#include <cstdint>
#include <cstring>
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

    size_t size() const { return m_data.empty() ? 0 : static_cast<size_t>(count()); }
    bool empty() const { return m_data.empty(); }
    /// The hashes, ascending and each once.
    std::vector<uint64_t> hashes() const;
    /// Calls f with the text of every id, in the order of hashes().
    template<typename F>
    void ForEachText(F &&f) const
    {
        const std::string_view data(m_data);
        for (size_t begin = textsBegin(); begin < data.size();) {
            const size_t end = data.find('\0', begin);
            f(data.substr(begin, end - begin));
            begin = end + 1;
        }
    }
    bool operator==(const IdSet &) const = default;

private:
    uint64_t count() const
    {
        uint64_t n;
        std::memcpy(&n, m_data.data(), sizeof n);
        return n;
    }
    uint64_t hashAt(size_t i) const
    {
        uint64_t hash;
        std::memcpy(&hash, m_data.data() + 8 + 8 * i, sizeof hash);
        return hash;
    }
    size_t textsBegin() const { return 8 + 8 * size(); }

    // One buffer, none for a page without ids: the number of ids (eight
    // bytes), their hashes ascending, then each id's text followed by a NUL
    // in the same order.
    std::string m_data;
};

} // namespace orvane
