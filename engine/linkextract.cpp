#include "engine/linkextract.h"

#include "base/errors.h"
#include "base/host.h"
#include "base/strutil.h"
#include "base/usertext.h"
#include "engine/bytescan.h"
#include "engine/stringlist.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace orvane {

namespace {

constexpr size_t npos = std::string_view::npos;

struct TagRow
{
    std::string_view tag;
    std::string_view attribute;
};

// The 35 link rows, then META refresh, then the two anchor rows. Values are
// handed to the lists in this order, row by row, which decides the letter case
// kept of a duplicate.
constexpr std::array<TagRow, 38> Rows = {{
    {"A", "HREF"},
    {"AREA", "HREF"},
    {"APPLET", "CODE"},
    {"BGSOUND", "SRC"},
    {"BLOCKQUOTE", "CITE"},
    {"BODY", "BACKGROUND"},
    {"DEL", "CITE"},
    {"EMBED", "SRC"},
    {"FORM", "ACTION"},
    {"FRAME", "LONGDESC"},
    {"FRAME", "SRC"},
    {"ILAYER", "SRC"},
    {"ILAYER", "BACKGROUND"},
    {"IFRAME", "LONGDESC"},
    {"IFRAME", "SRC"},
    {"IMG", "DYNSRC"},
    {"IMG", "LONGDESC"},
    {"IMG", "LOWSRC"},
    {"IMG", "SRC"},
    {"IMG", "USEMAP"},
    {"INPUT", "SRC"},
    {"INPUT", "USEMAP"},
    {"INS", "CITE"},
    {"ISINDEX", "ACTION"},
    {"LAYER", "BACKGROUND"},
    {"LAYER", "SRC"},
    {"LINK", "HREF"},
    {"LINK", "SRC"},
    {"Q", "CITE"},
    {"SCRIPT", "SRC"},
    {"STYLE", "SRC"},
    {"TABLE", "BACKGROUND"},
    {"TD", "BACKGROUND"},
    {"TH", "BACKGROUND"},
    {"TR", "BACKGROUND"},
    {"META", "CONTENT"},
    {"MAP", "NAME"},
    {"A", "NAME"},
}};
static_assert(Rows.size() == LinkRowTotal);
constexpr size_t LinkRowCount = 35;
constexpr size_t MetaRow = 35;

constexpr size_t MaxRowsPerTag = 5;

/// A tag name and the rows that look into it. Rows sharing a tag meet exactly
/// the same occurrences of it, so one scan serves them all.
struct TagGroup
{
    std::string_view name;
    std::array<uint8_t, MaxRowsPerTag> rows{};
    std::array<std::string_view, MaxRowsPerTag> attributes{};
    size_t rowCount = 0;
};

/// The groups whose tag name begins with one byte.
struct FirstByteGroups
{
    uint8_t count = 0;
    std::array<uint8_t, 7> groups{};
};

struct TagIndex
{
    std::vector<TagGroup> groups;
    std::array<FirstByteGroups, 256> byFirstByte; // upper and lower case alike

    /// Whether a tag whose name begins with these two bytes may be one of
    /// the groups'. Most tags of a page ("<span", "<div", "<p") are none,
    /// and are told so by one look-up.
    bool MayBeOneOf(char first, char second) const
    {
        const unsigned pair = pairOf(first, second);
        return (m_pairs[pair / 64] >> (pair % 64) & 1) != 0;
    }

    TagIndex()
    {
        for (size_t row = 0; row < Rows.size(); ++row) {
            auto it = std::find_if(groups.begin(), groups.end(),
                                   [&](const TagGroup &g) { return g.name == Rows[row].tag; });
            if (it == groups.end()) {
                groups.push_back({Rows[row].tag, {}, {}, 0});
                it = groups.end() - 1;
            }
            it->rows[it->rowCount] = static_cast<uint8_t>(row);
            it->attributes[it->rowCount++] = Rows[row].attribute;
        }
        for (size_t i = 0; i < groups.size(); ++i) {
            const std::string_view name = groups[i].name;
            for (const char first : {name[0], asciiLower(name[0])}) {
                add(first, i);
                for (unsigned second = 0; second < 256; ++second) {
                    // A name of one letter is the start of any tag name.
                    if (name.size() == 1 || asciiUpper(static_cast<char>(second)) == name[1])
                        addPair(first, static_cast<char>(second));
                }
            }
        }
    }

private:
    static char asciiLower(char upper) { return static_cast<char>(upper - 'A' + 'a'); }

    static unsigned pairOf(char first, char second)
    {
        return static_cast<unsigned char>(first) << 8 | static_cast<unsigned char>(second);
    }

    void addPair(char first, char second)
    {
        const unsigned pair = pairOf(first, second);
        m_pairs[pair / 64] |= uint64_t{1} << (pair % 64);
    }

    void add(char first, size_t group)
    {
        FirstByteGroups &entry = byFirstByte[static_cast<unsigned char>(first)];
        entry.groups.at(entry.count++) = static_cast<uint8_t>(group);
    }

    std::array<uint64_t, 65536 / 64> m_pairs{};
};

const TagIndex &tagIndex()
{
    static const TagIndex index;
    return index;
}

/// Whether text holds upperName (upper case) at pos, compared without case.
bool MatchesAt(std::string_view text, size_t pos, std::string_view upperName)
{
    if (text.size() - pos < upperName.size())
        return false;
    for (size_t k = 0; k < upperName.size(); ++k) {
        if (asciiUpper(text[pos + k]) != upperName[k])
            return false;
    }
    return true;
}

/// For each name, the first blank-preceded occurrence in [from, end), or npos,
/// found in one sweep. A name never overlaps itself behind a blank, so looking
/// at every position finds what skipping over each rejected occurrence would.
void FindAttributes(std::string_view text, size_t from, size_t end,
                    std::span<const std::string_view> names, size_t *at)
{
    size_t open = names.size();
    std::fill(at, at + names.size(), npos);
    if (from >= end)
        return;
    // Whether to go on after looking at position j, which follows a blank.
    auto lookAt = [&](size_t j) {
        const char c = asciiUpper(text[j]);
        for (size_t k = 0; k < names.size(); ++k) {
            if (at[k] == npos && names[k][0] == c && j + names[k].size() <= end &&
                MatchesAt(text, j, names[k])) {
                at[k] = j;
                --open;
            }
        }
        return open > 0;
    };
    if (IsBlank(text[from - 1]) && !lookAt(from))
        return;
    ForEachOf(text, from, end - 1, ' ', '\r', '\n',
              [&](size_t blank) { return lookAt(blank + 1); });
}

struct Span
{
    size_t begin;
    size_t end;
};

/// The raw value that follows an attribute name ending at pos: after "=" and
/// blanks, up to the closing quote or the next space, and never past the ">".
/// Empty when no "=" follows.
Span ValueAfter(std::string_view text, size_t pos, size_t gt)
{
    SkipBlanks(text, pos);
    if (text[pos] != '=')
        return {gt, gt};
    ++pos;
    SkipBlanks(text, pos);
    char stop = ' ';
    if (text[pos] == '"' || text[pos] == '\'')
        stop = text[pos++];
    size_t end = pos;
    while (text[end] != stop && text[end] != '>')
        ++end;
    return {pos, end};
}

/// The raw value spans of the named attributes in the tag whose name ends at
/// nameEnd and whose ">" is at gt. A span is empty when the tag's name runs on,
/// or the attribute is missing or has no "=".
void TagValues(std::string_view text, size_t nameEnd, size_t gt,
               std::span<const std::string_view> names, Span *values)
{
    size_t pos = nameEnd;
    if (SkipBlanks(text, pos) == 0) {
        std::fill(values, values + names.size(), Span{gt, gt});
        return;
    }
    std::array<size_t, MaxRowsPerTag> at{};
    FindAttributes(text, pos, gt, names, at.data());
    for (size_t k = 0; k < names.size(); ++k)
        values[k] = at[k] == npos ? Span{gt, gt} : ValueAfter(text, at[k] + names[k].size(), gt);
}

/// The value as the lists see it: CR LF pairs taken out (in one left-to-right
/// sweep, so a pair that forms from the remains stays). Uses scratch only when
/// the span holds a CR.
std::string_view CleanValue(std::string_view raw, std::string &scratch)
{
    if (raw.find('\r') == npos)
        return raw;
    scratch.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            ++i;
        else
            scratch.push_back(raw[i]);
    }
    return scratch;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

/// Finds, in one sweep over the page, what the 38 separate passes and the id
/// scan would find: every row keeps its own resume point (the ">" of the tag
/// it took last), so "<A" inside another tag or inside a value is taken or
/// skipped just as the row's own pass would. Finds of the rows come out in
/// page order, then those of the id scan in page order.
class FindCollector
{
public:
    FindCollector(std::string_view text, std::vector<LinkFind> &finds)
        : m_text(text)
        , m_finds(finds)
    {
    }

    void collect()
    {
        // No row's tag name begins with "/".
        const TagIndex &index = tagIndex();
        ForEachOpeningTag(m_text, [&](size_t lt) {
            if (lt + 2 < m_text.size() && !index.MayBeOneOf(m_text[lt + 1], m_text[lt + 2]))
                return true;
            // A tag without ">" ends every row's pass: no tag after it closes.
            return lt + 1 < m_text.size() && tag(lt);
        });
        ids();
    }

private:
    /// The first ">" from lt on, found once for all the tags that open
    /// before it.
    size_t closing(size_t lt)
    {
        if (!m_gtKnown || (m_gt != npos && m_gt < lt)) {
            m_gt = m_text.find('>', lt);
            m_gtKnown = true;
        }
        return m_gt;
    }

    /// The tag whose "<" is at lt; false when it has no ">".
    bool tag(size_t lt)
    {
        const TagIndex &index = tagIndex();
        const FirstByteGroups &candidates =
            index.byFirstByte[static_cast<unsigned char>(m_text[lt + 1])];
        for (size_t c = 0; c < candidates.count; ++c) {
            const uint8_t g = candidates.groups[c];
            const TagGroup &group = index.groups[g];
            if (lt < m_resumeAt[g] || !MatchesAt(m_text, lt + 1, group.name))
                continue;
            const size_t gt = closing(lt);
            if (gt == npos)
                return false;
            m_resumeAt[g] = gt;
            std::array<Span, MaxRowsPerTag> values;
            TagValues(m_text, lt + 1 + group.name.size(), gt,
                      std::span(group.attributes.data(), group.rowCount), values.data());
            for (size_t r = 0; r < group.rowCount; ++r)
                m_finds.push_back({values[r].begin, values[r].end, group.rows[r]});
        }
        return true;
    }

    /// The id scan takes the first "<" + letter of the page, then the first
    /// one after that tag's ">", and so on. So the tag it takes around a
    /// place is the first "<" + letter after the last ">" before it, if that
    /// comes before the place: the scan is worked out from the places where
    /// an ID attribute may begin (a blank, then "ID"), which are few, rather
    /// than from every tag. Of the places inside one tag the first counts.
    /// Every byte is looked at a bounded number of times.
    void ids()
    {
        size_t looked = 0;   // places before this were searched for ">"
        size_t searched = 0; // no "<" + letter since the last ">" before this
        size_t tagAt = npos; // the tag opening after the last ">", if found
        size_t taken = npos; // the tag whose id was taken
        ForEachBlankThenPair(m_text, 'I', 'D', [&](size_t at) {
            if (const size_t gt = lastOf('>', looked, at); gt != npos) {
                searched = gt + 1;
                tagAt = npos;
            }
            looked = at;
            if (tagAt == npos) {
                tagAt = firstTagStart(searched, at);
                searched = at;
            }
            if (tagAt == npos || tagAt == taken)
                return true;
            // No ">" from the tag on to here: the first after here closes it.
            const size_t gt = m_text.find('>', at);
            if (gt == npos)
                return false;
            taken = tagAt;
            const Span value = ValueAfter(m_text, at + 2, gt);
            if (value.begin < value.end)
                m_finds.push_back({value.begin, value.end, IdRow});
            return true;
        });
    }

    /// The last c in [from, to), or npos.
    size_t lastOf(char c, size_t from, size_t to) const
    {
        if (from >= to)
            return npos;
        const void *hit = ::memrchr(m_text.data() + from, c, to - from);
        return hit ? static_cast<size_t>(static_cast<const char *>(hit) - m_text.data()) : npos;
    }

    /// The first "<" followed by an ASCII letter in [from, to), or npos.
    size_t firstTagStart(size_t from, size_t to) const
    {
        size_t found = npos;
        ForEachOf(m_text, from, to, '<', '<', '<', [&](size_t lt) {
            if (lt + 1 < m_text.size() && IsAsciiLetter(m_text[lt + 1])) {
                found = lt;
                return false;
            }
            return true;
        });
        return found;
    }

    std::string_view m_text;
    std::vector<LinkFind> &m_finds;
    std::array<size_t, Rows.size()> m_resumeAt{}; // per tag; never more tags than rows
    size_t m_gt = 0;
    bool m_gtKnown = false;
};

void CollectFinds(std::string_view text, std::vector<LinkFind> &finds)
{
    FindCollector(text, finds).collect();
}

/// Stable reordering of the finds by row (a counting sort). rowStart receives
/// where each row's finds begin; rowStart[row + 1] is where they end.
std::vector<LinkFind> OrderByRow(const std::vector<LinkFind> &finds,
                                 std::array<size_t, FindRowTotal + 1> &rowStart)
{
    rowStart.fill(0);
    for (const LinkFind &f : finds)
        ++rowStart[f.row + 1];
    for (size_t row = 0; row < FindRowTotal; ++row)
        rowStart[row + 1] += rowStart[row];
    std::array<size_t, FindRowTotal> next{};
    std::copy(rowStart.begin(), rowStart.end() - 1, next.begin());
    std::vector<LinkFind> ordered(finds.size());
    for (const LinkFind &f : finds)
        ordered[next[f.row]++] = f;
    return ordered;
}

/// The values the lists receive from the finds: the link rules, without the
/// progress and halt behaviour.
class ValueMaker
{
public:
    ValueMaker(std::string_view text, ExtractOptions options)
        : m_text(text)
        , m_options(options)
    {
    }

    /// The value a find of a link, anchor or id gives, if any. A value cut
    /// at a space that it begins with gives an empty text.
    std::optional<std::string_view> plain(const LinkFind &find)
    {
        const std::string_view value = valueOf(find);
        if (value.empty())
            return std::nullopt;
        if (StartsWithText(value, "JAVASCRIPT:")) {
            if (m_options.ignoreJavaScript)
                return std::nullopt;
            return value;
        }
        return m_options.isSpaceValid ? value : CutAtSpace(value);
    }

    /// The target one META tag gives, if any; kept aside as long as the
    /// maker lives.
    std::optional<std::string_view> refresh(const LinkFind &find)
    {
        const std::string_view value = valueOf(find);
        // A value that begins with "URL=" is not a refresh instruction.
        const size_t url = value.find("URL=");
        if (url == npos || url == 0)
            return std::nullopt;
        const std::string &target = m_kept.emplace_back(TrimControl(value.substr(url + 4)));
        if (target.empty())
            return std::nullopt;
        return CutAtSpace(target);
    }

    /// The link values of finds [from, to): link rows, then META rows from
    /// metaFrom on; only the finds taken (all when taken is empty). The texts
    /// are views into the page or into values the maker keeps.
    std::vector<FoundLink> links(const std::vector<LinkFind> &finds, size_t from, size_t to,
                                 size_t metaFrom, const std::vector<char> &taken)
    {
        std::vector<FoundLink> out;
        out.reserve(to - from);
        for (size_t i = from; i < to; ++i) {
            if (!taken.empty() && !taken[i])
                continue;
            const bool meta = i >= metaFrom;
            const auto value = meta ? refresh(finds[i]) : kept(plain(finds[i]));
            if (value)
                out.push_back(
                    {*value, finds[i].begin,
                     meta && !value->empty() && (value->front() == '"' || value->front() == '\'')});
        }
        return out;
    }

    /// Adds the ids of finds [from, to) to targets.
    void ids(const std::vector<LinkFind> &finds, size_t from, size_t to, IdSet &targets)
    {
        std::string texts;
        std::vector<uint32_t> ends;
        ends.reserve(to - from);
        for (size_t i = from; i < to; ++i) {
            if (const auto value = plain(finds[i]); value && !value->empty()) {
                texts.append(*value);
                ends.push_back(static_cast<uint32_t>(texts.size()));
            }
        }
        targets.AddAll(texts, ends);
    }

    /// The anchor names of finds [from, to), of those taken.
    std::vector<std::string> names(const std::vector<LinkFind> &finds, size_t from, size_t to,
                                   const std::vector<char> &taken)
    {
        std::vector<std::string> out;
        out.reserve(to - from);
        for (size_t i = from; i < to; ++i) {
            if (taken.empty() || taken[i]) {
                if (const auto value = plain(finds[i]))
                    out.emplace_back(*value);
            }
        }
        return out;
    }

private:
    std::string_view valueOf(const LinkFind &find)
    {
        return CleanValue(m_text.substr(find.begin, find.end - find.begin), m_scratch);
    }

    /// A value that lies in the scratch text (one whose CR LF pairs were
    /// taken out) moved to a place of its own, as the next value reuses the
    /// scratch.
    std::optional<std::string_view> kept(std::optional<std::string_view> value)
    {
        const char *scratch = m_scratch.data();
        if (!value || value->empty() || value->data() < scratch ||
            value->data() >= scratch + m_scratch.size())
            return value;
        return m_kept.emplace_back(*value);
    }

    std::string_view m_text;
    ExtractOptions m_options;
    std::string m_scratch;
    std::deque<std::string> m_kept; // values the page's text does not hold as such
};

/// Gives the user interface the events that adding the values one at a time
/// gives: before each item pending events run, then, unless the user halted,
/// the count panel shows the item's number. Remembers which items were taken.
class EventReplay
{
public:
    EventReplay(const ExtractContext &context, size_t items)
        : m_context(context)
        , m_items(items)
    {
    }

    void resetCounter() { m_counter = 0; }

    /// Returns whether item i is taken.
    bool step(size_t i)
    {
        m_context.host.processEvents();
        if (m_context.haltRequested) {
            if (m_taken.empty())
                m_taken.assign(m_items, 1);
            m_taken[i] = 0;
            return false;
        }
        m_context.host.setCountPanel(m_counter++);
        return true;
    }

    /// Empty when every item so far was taken.
    const std::vector<char> &taken() const { return m_taken; }

private:
    const ExtractContext &m_context;
    size_t m_items;
    long m_counter = 0;
    std::vector<char> m_taken;
};

} // namespace

size_t SkipBlanks(std::string_view text, size_t &pos)
{
    const size_t start = pos;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos - start;
}

std::string_view CutAtSpace(std::string_view text)
{
    return text.substr(0, text.find(' '));
}

bool FindTagAttribute(std::string_view tag, std::string_view attribute, std::string &value,
                      size_t &offset, std::string_view text)
{
    value.clear();
    size_t lt = text.find('<', offset);
    while (lt != npos && !MatchesAt(text, lt + 1, tag))
        lt = text.find('<', lt + 1);
    if (lt == npos)
        return false;
    const size_t gt = text.find('>', lt + 1 + tag.size());
    if (gt == npos)
        return false;
    offset = gt;
    Span span;
    TagValues(text, lt + 1 + tag.size(), gt, std::span(&attribute, 1), &span);
    std::string scratch;
    value = CleanValue(text.substr(span.begin, span.end - span.begin), scratch);
    return true;
}

std::string_view UnquotedRefreshTarget(std::string_view target)
{
    if (target.empty() || (target.front() != '"' && target.front() != '\''))
        return target;
    const std::string_view inside = target.substr(1);
    return inside.substr(0, inside.find(target.front()));
}

PreparedPage PreparePage(std::string text, ExtractOptions options)
{
    PreparedPage page;
    page.options = options;
    CutComments(
        text, [] {},
        [&page] {
            ++page.commentCount;
            return true;
        },
        &page.commentGaps);
    std::vector<LinkFind> found;
    CollectFinds(text, found);
    page.finds = OrderByRow(found, page.rowStart);
    const size_t linkEnd = page.rowStart[LinkRowCount];
    const size_t metaEnd = page.rowStart[MetaRow + 1];
    const size_t anchorEnd = page.rowStart[IdRow];
    ValueMaker maker(text, options);
    const std::vector<char> all;
    PageLinks &lists = page.lists;
    PlaceLinks(maker.links(page.finds, 0, metaEnd, linkEnd, all), text, page.commentGaps,
               lists.links, lists.places);
    lists.anchors.AddAll(maker.names(page.finds, metaEnd, anchorEnd, all));
    maker.ids(page.finds, anchorEnd, page.finds.size(), lists.targets);
    page.text = std::move(text);
    return page;
}

void ApplyPreparedPage(PreparedPage &page, const ExtractContext &context, PageLinks &out)
{
    ORVANE_ASSERT(page.options == context.options(), "LinkExtract");
    out = PageLinks();
    Host &host = context.host;
    host.setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "%1 - コメント削除中"), {context.fileName}));
    for (size_t k = 0; k < page.commentCount; ++k) {
        host.processEvents();
        if (context.haltRequested)
            return;
        host.setCountPanel(static_cast<long>(k));
    }

    host.setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "%1 - リンク抜き出し中"), {context.fileName}));
    const size_t linkEnd = page.rowStart[LinkRowCount];
    const size_t metaEnd = page.rowStart[MetaRow + 1];
    const size_t anchorEnd = page.rowStart[IdRow];
    ValueMaker maker(page.text, page.options);
    EventReplay replay(context, page.finds.size());
    const auto placeTaken = [&](const std::vector<char> &taken) {
        PlaceLinks(maker.links(page.finds, 0, metaEnd, linkEnd, taken), page.text, page.commentGaps,
                   out.links, out.places);
    };
    for (size_t i = 0; i < linkEnd; ++i)
        replay.step(i);
    for (size_t i = linkEnd; i < metaEnd; ++i) {
        if (!replay.step(i)) {
            // Halted at a META tag: the links found before it, nothing more.
            std::vector<char> taken = replay.taken();
            std::fill(taken.begin() + static_cast<ptrdiff_t>(i), taken.end(), 0);
            placeTaken(taken);
            return;
        }
    }
    if (replay.taken().empty()) {
        out.links = std::move(page.lists.links);
        out.places = std::move(page.lists.places);
    } else {
        placeTaken(replay.taken());
    }

    host.setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "%1 - アンカー抜き出し中"), {context.fileName}));
    replay.resetCounter();
    for (size_t i = metaEnd; i < anchorEnd; ++i)
        replay.step(i);
    if (replay.taken().empty())
        out.anchors = std::move(page.lists.anchors);
    else
        out.anchors.AddAll(maker.names(page.finds, metaEnd, anchorEnd, replay.taken()));
    // Ids are no items of the progress display: a page that was extracted
    // whole gives them all, a halted one none.
    if (!context.haltRequested)
        out.targets = std::move(page.lists.targets);
}

void ExtractLinksFromText(std::string &text, const ExtractContext &context, PageLinks &out)
{
    PreparedPage page = PreparePage(std::move(text), context.options());
    ApplyPreparedPage(page, context, out);
    text = std::move(page.text);
}

} // namespace orvane
