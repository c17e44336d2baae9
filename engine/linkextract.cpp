#include "engine/linkextract.h"

#include "base/errors.h"
#include "base/host.h"
#include "base/strutil.h"
#include "engine/bytescan.h"
#include "engine/stringlist.h"

#include <algorithm>
#include <array>
#include <cstdint>
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
            const char first = groups[i].name[0];
            add(first, i);
            add(static_cast<char>(first - 'A' + 'a'), i);
        }
    }

private:
    void add(char first, size_t group)
    {
        FirstByteGroups &entry = byFirstByte[static_cast<unsigned char>(first)];
        entry.groups.at(entry.count++) = static_cast<uint8_t>(group);
    }
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

/// Finds, in one sweep over the page, what the 38 separate passes would find:
/// every row keeps its own resume point (the ">" of the tag it took last), so
/// "<A" inside another tag or inside a value is taken or skipped just as the
/// row's own pass would. Finds come out in page order.
void CollectFinds(std::string_view text, std::vector<LinkFind> &finds)
{
    const TagIndex &index = tagIndex();
    std::array<size_t, Rows.size()> resumeAt{}; // per tag; never more tags than rows
    size_t gt = 0;
    bool gtKnown = false;
    ForEachOf(text, 0, text.size(), '<', '<', '<', [&](size_t lt) {
        if (lt + 1 >= text.size())
            return false;
        const FirstByteGroups &candidates =
            index.byFirstByte[static_cast<unsigned char>(text[lt + 1])];
        for (size_t c = 0; c < candidates.count; ++c) {
            const uint8_t g = candidates.groups[c];
            const TagGroup &group = index.groups[g];
            if (lt < resumeAt[g] || !MatchesAt(text, lt + 1, group.name))
                continue;
            if (!gtKnown || (gt != npos && gt < lt)) {
                gt = text.find('>', lt);
                gtKnown = true;
            }
            if (gt == npos)
                return false; // no tag from here on is closed, for any row
            resumeAt[g] = gt;
            std::array<Span, MaxRowsPerTag> values;
            TagValues(text, lt + 1 + group.name.size(), gt,
                      std::span(group.attributes.data(), group.rowCount), values.data());
            for (size_t r = 0; r < group.rowCount; ++r)
                finds.push_back({values[r].begin, values[r].end, group.rows[r]});
        }
        return true;
    });
}

/// Stable reordering of the finds by row (a counting sort). rowStart receives
/// where each row's finds begin; rowStart[row + 1] is where they end.
std::vector<LinkFind> OrderByRow(const std::vector<LinkFind> &finds,
                                 std::array<size_t, LinkRowTotal + 1> &rowStart)
{
    rowStart.fill(0);
    for (const LinkFind &f : finds)
        ++rowStart[f.row + 1];
    for (size_t row = 0; row < Rows.size(); ++row)
        rowStart[row + 1] += rowStart[row];
    std::array<size_t, Rows.size()> next{};
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

    /// One found value for links or anchors.
    void link(std::vector<std::string> &out, const LinkFind &find)
    {
        const std::string_view value = valueOf(find);
        if (value.empty())
            return;
        if (StartsWithText(value, "JAVASCRIPT:")) {
            if (!m_options.ignoreJavaScript)
                out.emplace_back(value);
            return;
        }
        out.emplace_back(m_options.isSpaceValid ? value : CutAtSpace(value));
    }

    /// One META tag.
    void refresh(std::vector<std::string> &out, const LinkFind &find)
    {
        const std::string_view value = valueOf(find);
        // A value that begins with "URL=" is not a refresh instruction.
        const size_t url = value.find("URL=");
        if (url == npos || url == 0)
            return;
        const std::string target = TrimControl(value.substr(url + 4));
        if (!target.empty())
            out.emplace_back(CutAtSpace(target));
    }

    /// The values of finds [from, to): link rows, then META rows from metaFrom
    /// on; only the finds taken (all when taken is empty).
    std::vector<std::string> values(const std::vector<LinkFind> &finds, size_t from, size_t to,
                                    size_t metaFrom, const std::vector<char> &taken)
    {
        std::vector<std::string> out;
        out.reserve(to - from);
        for (size_t i = from; i < to; ++i) {
            if (!taken.empty() && !taken[i])
                continue;
            if (i < metaFrom)
                link(out, finds[i]);
            else
                refresh(out, finds[i]);
        }
        return out;
    }

private:
    std::string_view valueOf(const LinkFind &find)
    {
        return CleanValue(m_text.substr(find.begin, find.end - find.begin), m_scratch);
    }

    std::string_view m_text;
    ExtractOptions m_options;
    std::string m_scratch;
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

/// The text between the part already settled (the first m_kept bytes) and the
/// part not yet looked at (from m_rest on), with the comments removed so far
/// cut out. Neither marker stands complete inside the settled part, so a new
/// first marker is either one that forms across the seam or the next one in
/// the rest, which is searched at most once per stretch of text.
class CommentCutter
{
public:
    explicit CommentCutter(std::string &text)
        : m_text(text)
    {
    }

    size_t firstOpen() { return first("<!--", m_open); }
    size_t firstClose() { return first("-->", m_close); }

    /// Removes [from, to) of the current text; to lies beyond the seam.
    void cut(size_t from, size_t to)
    {
        const size_t newRest = m_rest + (to - m_kept);
        if (from >= m_kept) {
            const size_t n = from - m_kept;
            std::copy(m_text.begin() + m_rest, m_text.begin() + m_rest + n,
                      m_text.begin() + m_kept);
            m_kept += n;
        } else {
            m_kept = from;
        }
        m_rest = newRest;
    }

    void finish()
    {
        if (m_kept == m_rest)
            return;
        std::copy(m_text.begin() + m_rest, m_text.end(), m_text.begin() + m_kept);
        m_text.resize(m_kept + (m_text.size() - m_rest));
    }

private:
    struct Found
    {
        bool known = false;
        size_t at = npos; // position in m_text, at or after m_rest when searched
    };

    size_t size() const { return m_kept + (m_text.size() - m_rest); }
    char at(size_t i) const { return i < m_kept ? m_text[i] : m_text[m_rest + (i - m_kept)]; }

    bool markerAt(size_t i, std::string_view marker) const
    {
        if (size() - i < marker.size())
            return false;
        for (size_t k = 0; k < marker.size(); ++k) {
            if (at(i + k) != marker[k])
                return false;
        }
        return true;
    }

    size_t first(std::string_view marker, Found &found)
    {
        const size_t back = marker.size() - 1;
        for (size_t i = m_kept > back ? m_kept - back : 0; i < m_kept; ++i) {
            if (markerAt(i, marker))
                return i;
        }
        if (!found.known || (found.at != npos && found.at < m_rest)) {
            found.at = std::string_view(m_text).find(marker, m_rest);
            found.known = true;
        }
        return found.at == npos ? npos : m_kept + (found.at - m_rest);
    }

    std::string &m_text;
    size_t m_kept = 0;
    size_t m_rest = 0;
    Found m_open;
    Found m_close;
};

/// Removes the comments one at a time; before and after each removal asks
/// whether to go on. Returns false when told to stop (the text is then left
/// unusable).
template<typename Before, typename After>
bool cutComments(std::string &text, Before before, After after)
{
    CommentCutter cutter(text);
    for (;;) {
        const size_t open = cutter.firstOpen();
        if (open == npos)
            break;
        const size_t close = cutter.firstClose();
        if (close == npos || open >= close)
            break;
        before();
        cutter.cut(open, close + 3);
        if (!after())
            return false;
    }
    cutter.finish();
    return true;
}

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

bool RemoveComments(std::string &text, Host &host, const bool &haltRequested)
{
    long counter = 0;
    return cutComments(
        text,
        [&] {
            host.processEvents();
            return true;
        },
        [&] {
            if (haltRequested)
                return false;
            host.setCountPanel(counter++);
            return true;
        });
}

PreparedPage PreparePage(std::string text, ExtractOptions options)
{
    PreparedPage page;
    page.options = options;
    cutComments(
        text, [] {},
        [&page] {
            ++page.commentCount;
            return true;
        });
    std::vector<LinkFind> found;
    CollectFinds(text, found);
    page.finds = OrderByRow(found, page.rowStart);
    ValueMaker maker(text, options);
    const std::vector<char> all;
    page.links.AddAll(
        maker.values(page.finds, 0, page.rowStart[MetaRow + 1], page.rowStart[LinkRowCount], all));
    page.anchors.AddAll(
        maker.values(page.finds, page.rowStart[MetaRow + 1], page.finds.size(), npos, all));
    page.text = std::move(text);
    return page;
}

void ApplyPreparedPage(PreparedPage &page, const ExtractContext &context, SortedStringList &links,
                       SortedStringList &anchors)
{
    ORVANE_ASSERT(page.options == context.options(), "LinkExtract");
    Host &host = context.host;
    host.setStatus(context.fileName + " - コメント削除中");
    for (size_t k = 0; k < page.commentCount; ++k) {
        host.processEvents();
        if (context.haltRequested)
            return;
        host.setCountPanel(static_cast<long>(k));
    }

    host.setStatus(context.fileName + " - リンク抜き出し中");
    const size_t linkEnd = page.rowStart[LinkRowCount];
    const size_t metaEnd = page.rowStart[MetaRow + 1];
    ValueMaker maker(page.text, page.options);
    EventReplay replay(context, page.finds.size());
    for (size_t i = 0; i < linkEnd; ++i)
        replay.step(i);
    for (size_t i = linkEnd; i < metaEnd; ++i) {
        if (!replay.step(i)) {
            // Halted at a META tag: the links found before it, nothing more.
            std::vector<char> taken = replay.taken();
            std::fill(taken.begin() + static_cast<ptrdiff_t>(i), taken.end(), 0);
            links.AddAll(maker.values(page.finds, 0, metaEnd, linkEnd, taken));
            return;
        }
    }
    if (replay.taken().empty())
        links.Merge(std::move(page.links));
    else
        links.AddAll(maker.values(page.finds, 0, metaEnd, linkEnd, replay.taken()));

    host.setStatus(context.fileName + " - アンカー抜き出し中");
    replay.resetCounter();
    for (size_t i = metaEnd; i < page.finds.size(); ++i)
        replay.step(i);
    if (replay.taken().empty())
        anchors.Merge(std::move(page.anchors));
    else
        anchors.AddAll(maker.values(page.finds, metaEnd, page.finds.size(), npos, replay.taken()));
}

void ExtractLinksFromText(std::string &text, const ExtractContext &context, SortedStringList &links,
                          SortedStringList &anchors)
{
    PreparedPage page = PreparePage(std::move(text), context.options());
    ApplyPreparedPage(page, context, links, anchors);
    text = std::move(page.text);
}

} // namespace orvane
