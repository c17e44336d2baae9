#pragma once

#include "engine/commentremoval.h"
#include "engine/stringlist.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// Where a page names one of its links; a page keeps one per entry of its
/// Links, so that a report can say where a link stands without reading the
/// page again.
struct LinkPlace
{
    uint32_t line = 0;  // line of its first occurrence in the page as written, from 1
    uint32_t count = 0; // how many times the page names it
    // Rank of its first occurrence among those of the page's links, from 0.
    uint32_t order : 31 = 0;
    // A refresh target that the page wrote in quotes (kept with them).
    uint32_t quotedRefresh : 1 = 0;
    bool operator==(const LinkPlace &) const = default;
};

/// The places of a page's links, one per entry of its Links, held in about
/// six bytes a link: the line and the refresh flag in one word, the rank in
/// two bytes, and only the counts other than one, by link. Pages with more
/// than 65,536 links or lines beyond 2^31 keep the places as they are.
class LinkPlaceTable
{
public:
    LinkPlaceTable() = default;
    explicit LinkPlaceTable(const std::vector<LinkPlace> &places);

    size_t size() const { return m_words.empty() ? 0 : m_words[0] & 0x7fffffffu; }
    bool empty() const { return m_words.empty(); }
    LinkPlace operator[](size_t i) const;
    /// Whether place i is a refresh target written in quotes; false for a
    /// place beyond the table.
    bool QuotedRefresh(size_t i) const;
    /// Bytes held.
    size_t MemoryUsed() const { return m_words.capacity() * sizeof(uint32_t); }

private:
    uint32_t count(size_t i) const;
    bool wide() const { return !m_words.empty() && (m_words[0] & 0x80000000u) != 0; }

    // None when empty; else first the number of places n and a bit for the
    // wide form. Compact: the lines (n words), the ranks (two a word), then pairs of
    // link index and count for the counts other than one, by index. Wide:
    // the places as three words each.
    std::vector<uint32_t> m_words;
};

/// One link value found in a page, at a position of the text with the
/// comments removed. The text is a view into the page, or into a value the
/// extraction keeps aside while the links are placed.
struct FoundLink
{
    std::string_view text;
    size_t at;
    bool quotedRefresh;
};

/// For each position of a page's text with the comments removed (ascending),
/// its line in the page as written, from 1: the text's line breaks and those
/// of the removed comments (gaps) before it. A line ends at a CR LF, a lone CR
/// or a lone LF, as the tag jump counts them.
std::vector<uint32_t> LinesAt(std::string_view text, std::span<const CommentGap> gaps,
                              std::span<const size_t> positions);

/// The link list that adding the found values one by one in their order
/// gives (replacing what links held), and for each of its entries the place:
/// every value equal to the entry without case counts as an occurrence of it.
void PlaceLinks(const std::vector<FoundLink> &found, std::string_view text,
                std::span<const CommentGap> gaps, SortedStringList &links,
                std::vector<LinkPlace> &places);

} // namespace orvane
