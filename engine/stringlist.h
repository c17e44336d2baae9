#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// A string list kept sorted without regard to letter case (CompareText) that
/// drops duplicates silently: of texts equal without case, the first one added
/// stays.
class SortedStringList
{
public:
    /// Adds text unless an equal one is there; returns whether it was added.
    bool Add(std::string text);
    /// Adds many texts at once, with the same result as adding them one by one
    /// in the given order.
    void AddAll(std::vector<std::string> texts);
    /// Adds the entries of another list, with the same result as adding them
    /// one by one in its order (entries already here win).
    void Merge(SortedStringList &&other);
    /// Replaces the entries with texts that are already sorted and free of
    /// duplicates without case, as a list built elsewhere by the same rules.
    void AssignSorted(std::vector<std::string> texts) { m_items = std::move(texts); }
    /// Index of the entry equal to text without regard to case, or -1.
    int IndexOf(std::string_view text) const;
    bool Contains(std::string_view text) const { return IndexOf(text) >= 0; }

    void Clear() { m_items.clear(); }
    size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    const std::string &operator[](size_t i) const { return m_items[i]; }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    const std::vector<std::string> &items() const { return m_items; }

private:
    std::vector<std::string> m_items;
};

/// For each text, the index of the first text equal to it byte for byte (its
/// own index when it is the first). Pages name the same targets over and over;
/// one probe of a flat table per text finds the repeats.
std::vector<uint32_t> FirstOfEqualTexts(const std::vector<std::string_view> &texts);

/// A sorted list that holds a subset of another one's entries (as indices):
/// the valid, invalid and external links are subsets of a page's links, taken
/// in the links' order, so they come out sorted without copying a text.
class LinkSubset
{
public:
    explicit LinkSubset(const SortedStringList &base)
        : m_base(&base)
    {
    }
    void Add(size_t baseIndex) { m_indices.push_back(static_cast<uint32_t>(baseIndex)); }
    /// Takes over ascending base indices.
    void Assign(std::vector<uint32_t> indices) { m_indices = std::move(indices); }
    void Clear() { m_indices.clear(); }
    size_t size() const { return m_indices.size(); }
    bool empty() const { return m_indices.empty(); }
    const std::string &operator[](size_t i) const { return (*m_base)[m_indices[i]]; }
    /// Where the i-th entry stands in the base list.
    size_t BaseIndex(size_t i) const { return m_indices[i]; }
    std::vector<std::string> ToVector() const;

private:
    const SortedStringList *m_base;
    std::vector<uint32_t> m_indices;
};

} // namespace orvane
