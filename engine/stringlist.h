#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// A string list kept sorted without regard to letter case (CompareText) that
/// drops duplicates silently: of texts equal without case, the first one added
/// stays.
///
/// A site holds millions of link texts, most of them short, so the texts are
/// packed end to end in one buffer with the end of each entry beside it: four
/// bytes of overhead an entry instead of a string object and an allocation.
class SortedStringList
{
public:
    /// Walks the entries in order, as views into the list.
    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const SortedStringList *list, size_t i)
            : m_list(list)
            , m_i(i)
        {
        }
        std::string_view operator*() const { return (*m_list)[m_i]; }
        std::string_view operator[](difference_type n) const { return (*m_list)[m_i + n]; }
        const_iterator &operator++()
        {
            ++m_i;
            return *this;
        }
        const_iterator operator++(int) { return {m_list, m_i++}; }
        const_iterator &operator--()
        {
            --m_i;
            return *this;
        }
        const_iterator operator--(int) { return {m_list, m_i--}; }
        const_iterator &operator+=(difference_type n)
        {
            m_i += n;
            return *this;
        }
        const_iterator &operator-=(difference_type n)
        {
            m_i -= n;
            return *this;
        }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const_iterator a, const_iterator b)
        {
            return static_cast<difference_type>(a.m_i) - static_cast<difference_type>(b.m_i);
        }
        friend bool operator==(const_iterator a, const_iterator b) { return a.m_i == b.m_i; }
        friend auto operator<=>(const_iterator a, const_iterator b) { return a.m_i <=> b.m_i; }

    private:
        const SortedStringList *m_list = nullptr;
        size_t m_i = 0;
    };

    /// Adds text unless an equal one is there; returns whether it was added.
    bool Add(std::string_view text);
    /// Adds many texts at once, with the same result as adding them one by one
    /// in the given order.
    void AddAll(std::vector<std::string> texts);
    /// Adds the entries of another list, with the same result as adding them
    /// one by one in its order (entries already here win).
    void Merge(SortedStringList &&other);
    /// Replaces the entries with texts that are already sorted and free of
    /// duplicates without case, as a list built elsewhere by the same rules.
    void AssignSorted(const std::vector<std::string> &texts);
    void AssignSorted(const std::vector<std::string_view> &texts) { assign(texts); }
    /// Index of the entry equal to text without regard to case, or -1.
    int IndexOf(std::string_view text) const;
    bool Contains(std::string_view text) const { return IndexOf(text) >= 0; }

    void Clear();
    size_t size() const { return m_data.empty() ? 0 : wordAt(0); }
    bool empty() const { return m_data.empty(); }
    std::string_view operator[](size_t i) const
    {
        const uint32_t begin = i == 0 ? 0 : endOf(i - 1);
        return std::string_view(m_data).substr(4 + 4 * size() + begin, endOf(i) - begin);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    /// The entries as strings of their own.
    std::vector<std::string> items() const { return {begin(), end()}; }
    /// Bytes held, buffers included.
    size_t MemoryUsed() const { return m_data.capacity(); }
    /// Fetches the start of the list into the cache, for a look-up to come.
    void Prefetch() const { __builtin_prefetch(m_data.data()); }

private:
    /// Replaces the entries with these, already in order.
    void assign(const std::vector<std::string_view> &texts);
    uint32_t wordAt(size_t at) const
    {
        uint32_t word;
        std::memcpy(&word, m_data.data() + at, sizeof word);
        return word;
    }
    uint32_t endOf(size_t i) const { return wordAt(4 + 4 * i); }

    // The number of entries and where each ends (four bytes each), then the
    // entries end to end: one allocation a list, none for an empty one.
    std::string m_data;
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
    /// Takes over ascending base indices.
    void Assign(const std::vector<uint32_t> &indices)
    {
        m_indices.reset(indices.empty() ? nullptr : new uint32_t[indices.size()]);
        std::copy(indices.begin(), indices.end(), m_indices.get());
        m_size = static_cast<uint32_t>(indices.size());
    }
    void Clear()
    {
        m_indices.reset();
        m_size = 0;
    }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::string_view operator[](size_t i) const { return (*m_base)[m_indices[i]]; }
    /// Where the i-th entry stands in the base list.
    size_t BaseIndex(size_t i) const { return m_indices[i]; }
    std::vector<std::string> ToVector() const;

private:
    // A page has three subsets for good, so they hold exactly their indices.
    const SortedStringList *m_base;
    std::unique_ptr<uint32_t[]> m_indices;
    uint32_t m_size = 0;
};

} // namespace orvane
