#include "engine/linkplaces.h"

#include "base/strutil.h"
#include "engine/bytescan.h"
#include "engine/textsort.h"

#include <algorithm>
#include <numeric>

namespace orvane {

namespace {

/// The occurrences of one link text: the first value added, how many, the
/// earliest position and whether one was a quoted refresh target.
struct Occurrences
{
    uint32_t first;
    uint32_t count;
    size_t at;
    bool quotedRefresh;

    void add(const Occurrences &more)
    {
        count += more.count;
        at = std::min(at, more.at);
        quotedRefresh = quotedRefresh || more.quotedRefresh;
    }
};

/// Values that repeat an earlier one byte for byte, folded into it: a page
/// names many targets over and over. Comes out in order of first addition.
std::vector<Occurrences> foldRepeats(const std::vector<FoundLink> &found)
{
    std::vector<std::string_view> views;
    views.reserve(found.size());
    for (const FoundLink &link : found)
        views.push_back(link.text);
    const std::vector<uint32_t> first = FirstOfEqualTexts(views);
    // Where each first text stands among the folded ones.
    std::vector<uint32_t> folded(found.size());
    std::vector<Occurrences> texts;
    for (uint32_t i = 0; i < found.size(); ++i) {
        const Occurrences one{i, 1, found[i].at, found[i].quotedRefresh};
        if (first[i] == i) {
            folded[i] = static_cast<uint32_t>(texts.size());
            texts.push_back(one);
        } else {
            texts[folded[first[i]]].add(one);
        }
    }
    return texts;
}

} // namespace

std::vector<uint32_t> LinesAt(std::string_view text, std::span<const CommentGap> gaps,
                              std::span<const size_t> positions)
{
    const auto gapAt = [&gaps](size_t i) {
        return std::binary_search(
            gaps.begin(), gaps.end(), CommentGap{i, 0},
            [](const CommentGap &a, const CommentGap &b) { return a.at < b.at; });
    };
    // Most pages end their lines with LF alone: those lines are just counted.
    const bool lfOnly = text.find('\r') == std::string_view::npos;
    std::vector<uint32_t> lines;
    lines.reserve(positions.size());
    uint32_t line = 1;
    size_t counted = 0;
    size_t nextGap = 0;
    for (const size_t pos : positions) {
        if (pos > counted && lfOnly) {
            line += static_cast<uint32_t>(CountOf(text, counted, pos, '\n'));
        } else if (pos > counted) {
            // A CR before an LF ends no line, unless a comment stood between them.
            ForEachOf(text, counted, pos, '\r', '\n', '\n', [&](size_t i) {
                if (text[i] == '\n' || i + 1 >= text.size() || text[i + 1] != '\n' || gapAt(i + 1))
                    ++line;
                return true;
            });
        }
        counted = std::max(counted, pos);
        for (; nextGap < gaps.size() && gaps[nextGap].at <= pos; ++nextGap)
            line += gaps[nextGap].breaks;
        lines.push_back(line);
    }
    return lines;
}

void PlaceLinks(const std::vector<FoundLink> &found, std::string_view text,
                std::span<const CommentGap> gaps, SortedStringList &links,
                std::vector<LinkPlace> &places)
{
    std::vector<Occurrences> texts = foldRepeats(found);
    // Sorted as the list sorts; among texts equal without case the first one
    // added stays, and the others count as occurrences of it. The texts sit
    // beside their numbers, so that comparing touches one array.
    std::vector<NumberedText> sorted(texts.size());
    for (uint32_t t = 0; t < texts.size(); ++t)
        sorted[t] = {found[texts[t].first].text, t};
    SortTexts(sorted);
    std::vector<std::string_view> items;
    std::vector<Occurrences> entries;
    items.reserve(sorted.size());
    entries.reserve(sorted.size());
    for (const auto &[value, t] : sorted) {
        if (!items.empty() && CompareText(items.back(), value) == 0) {
            entries.back().add(texts[t]);
            continue;
        }
        items.push_back(value);
        entries.push_back(texts[t]);
    }

    // The entries in page order of their first occurrence give the ranks,
    // and the ascending positions the lines in one sweep.
    std::vector<std::pair<size_t, uint32_t>> byPlace(entries.size());
    for (uint32_t i = 0; i < entries.size(); ++i)
        byPlace[i] = {entries[i].at, i};
    std::sort(byPlace.begin(), byPlace.end());
    std::vector<size_t> positions(byPlace.size());
    for (size_t r = 0; r < byPlace.size(); ++r)
        positions[r] = byPlace[r].first;
    const std::vector<uint32_t> lines = LinesAt(text, gaps, positions);
    places.assign(entries.size(), {});
    for (size_t r = 0; r < byPlace.size(); ++r) {
        const Occurrences &entry = entries[byPlace[r].second];
        LinkPlace &place = places[byPlace[r].second];
        place.line = lines[r];
        place.count = entry.count;
        place.order = static_cast<uint32_t>(r);
        place.quotedRefresh = entry.quotedRefresh ? 1 : 0;
    }
    links.AssignSorted(items);
}

namespace {

constexpr uint32_t RefreshBit = 0x80000000u;
// In the first word, beside the number of places.
constexpr uint32_t WideBit = 0x80000000u;
constexpr size_t MostCompactLinks = 0x10000;

} // namespace

LinkPlaceTable::LinkPlaceTable(const std::vector<LinkPlace> &places)
{
    const size_t n = places.size();
    if (n == 0)
        return;
    const bool wide = n > MostCompactLinks ||
                      std::any_of(places.begin(), places.end(),
                                  [](const LinkPlace &p) { return (p.line & RefreshBit) != 0; });
    m_words.push_back(static_cast<uint32_t>(n) | (wide ? WideBit : 0u));
    if (wide) {
        m_words.reserve(1 + 3 * n);
        for (const LinkPlace &p : places) {
            m_words.push_back(p.line);
            m_words.push_back(p.count);
            m_words.push_back(p.order | (p.quotedRefresh ? RefreshBit : 0u));
        }
        return;
    }
    size_t repeats = 0;
    for (const LinkPlace &p : places)
        repeats += p.count != 1;
    m_words.reserve(1 + n + (n + 1) / 2 + 2 * repeats);
    for (const LinkPlace &p : places)
        m_words.push_back(p.line | (p.quotedRefresh ? RefreshBit : 0u));
    for (size_t i = 0; i < n; i += 2) {
        const uint32_t high = i + 1 < n ? places[i + 1].order : 0u;
        m_words.push_back(places[i].order | (high << 16));
    }
    for (size_t i = 0; i < n; ++i) {
        if (places[i].count != 1) {
            m_words.push_back(static_cast<uint32_t>(i));
            m_words.push_back(places[i].count);
        }
    }
}

uint32_t LinkPlaceTable::count(size_t i) const
{
    const size_t n = size();
    const size_t first = 1 + n + (n + 1) / 2;
    size_t low = 0;
    size_t high = (m_words.size() - first) / 2;
    while (low < high) {
        const size_t mid = (low + high) / 2;
        const uint32_t link = m_words[first + 2 * mid];
        if (link == i)
            return m_words[first + 2 * mid + 1];
        if (link < i)
            low = mid + 1;
        else
            high = mid;
    }
    return 1;
}

bool LinkPlaceTable::QuotedRefresh(size_t i) const
{
    if (i >= size())
        return false;
    return (m_words[wide() ? 1 + 3 * i + 2 : 1 + i] & RefreshBit) != 0;
}

LinkPlace LinkPlaceTable::operator[](size_t i) const
{
    LinkPlace place;
    if (wide()) {
        place.line = m_words[1 + 3 * i];
        place.count = m_words[1 + 3 * i + 1];
        place.order = m_words[1 + 3 * i + 2] & ~RefreshBit;
        place.quotedRefresh = (m_words[1 + 3 * i + 2] & RefreshBit) != 0;
        return place;
    }
    place.line = m_words[1 + i] & ~RefreshBit;
    place.quotedRefresh = (m_words[1 + i] & RefreshBit) != 0;
    place.order = (m_words[1 + size() + i / 2] >> (i % 2 * 16)) & 0xffffu;
    place.count = count(i);
    return place;
}

} // namespace orvane
