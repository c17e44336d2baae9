#include "support/literal_extract.h"

#include "base/host.h"
#include "base/strutil.h"
#include "engine/stringlist.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace orvane::test {

namespace {

const std::vector<std::pair<std::string, std::string>> &linkTable()
{
    static const std::vector<std::pair<std::string, std::string>> table = {
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
    };
    return table;
}

const std::vector<std::pair<std::string, std::string>> &anchorTable()
{
    static const std::vector<std::pair<std::string, std::string>> table = {
        {"MAP", "NAME"},
        {"A", "NAME"},
    };
    return table;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

// Both copies end in a NUL (std::string guarantees one at size()), which no
// blank equals, so skipping stops at the end as it would in a C string.
size_t skipBlanks(const std::string &upper, size_t &p)
{
    size_t n = 0;
    while (isBlank(upper[p])) {
        ++p;
        ++n;
    }
    return n;
}

std::string withoutCrLf(std::string value)
{
    size_t from = 0;
    for (;;) {
        const size_t pair = value.find("\r\n", from);
        if (pair == std::string::npos)
            return value;
        value.erase(pair, 2);
        from = pair;
    }
}

std::string cutAtSpace(const std::string &text)
{
    const size_t space = text.find(' ');
    return space == std::string::npos ? text : text.substr(0, space);
}

std::string upperCopy(const std::string &text)
{
    std::string upper = text;
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

struct Adder
{
    const ExtractContext &context;
    long counter = 0;

    /// What the link rules make of a value; nothing for none.
    std::optional<std::string> ruled(const std::string &value) const
    {
        if (value.empty())
            return std::nullopt;
        if (upperCopy(value.substr(0, 11)) == "JAVASCRIPT:") {
            if (context.ignoreJavaScript)
                return std::nullopt;
            return value;
        }
        return context.isSpaceValid ? value : cutAtSpace(value);
    }

    /// One step of the progress display and the value added, if any.
    std::optional<std::string> addLink(SortedStringList &list, const std::string &value)
    {
        context.host.processEvents();
        if (context.haltRequested)
            return std::nullopt;
        context.host.setCountPanel(counter);
        ++counter;
        std::optional<std::string> text = ruled(value);
        if (text)
            list.Add(*text);
        return text;
    }
};

/// A link value as added, and the page offset where its value began.
struct Occurrence
{
    std::string text;
    size_t at;
    bool quotedRefresh;
};

/// Line breaks in page[0, end): each LF, and each CR not followed by an LF.
uint32_t lineOf(const std::string &page, size_t end)
{
    uint32_t line = 1;
    for (size_t i = 0; i < end; ++i) {
        if (page[i] == '\n' || (page[i] == '\r' && (i + 1 == page.size() || page[i + 1] != '\n')))
            ++line;
    }
    return line;
}

std::vector<LinkPlace> placesOf(const SortedStringList &links,
                                const std::vector<Occurrence> &occurrences, const std::string &page)
{
    std::vector<LinkPlace> places(links.size());
    std::vector<size_t> firstAt(links.size(), std::string::npos);
    for (const Occurrence &o : occurrences) {
        const int i = links.IndexOf(o.text);
        if (i < 0)
            throw std::logic_error("a link value missing from the list");
        ++places[i].count;
        firstAt[i] = std::min(firstAt[i], o.at);
        if (o.quotedRefresh)
            places[i].quotedRefresh = 1;
    }
    std::vector<size_t> byPlace(links.size());
    for (size_t i = 0; i < byPlace.size(); ++i)
        byPlace[i] = i;
    std::stable_sort(byPlace.begin(), byPlace.end(),
                     [&](size_t a, size_t b) { return firstAt[a] < firstAt[b]; });
    for (size_t r = 0; r < byPlace.size(); ++r) {
        places[byPlace[r]].order = static_cast<uint32_t>(r);
        places[byPlace[r]].line = lineOf(page, firstAt[byPlace[r]]);
    }
    return places;
}

} // namespace

namespace {

/// The comment loop; origin, when given, is erased alongside the text so that
/// it keeps the page offset of every remaining byte.
bool removeComments(std::string &text, Host &host, const bool &haltRequested,
                    std::vector<size_t> *origin)
{
    auto pos = [&](const char *what) {
        const size_t at = text.find(what);
        return at == std::string::npos ? size_t(0) : at + 1;
    };
    long counter = 0;
    size_t p = pos("<!--");
    size_t q = pos("-->");
    while (p != 0 && p < q) {
        host.processEvents();
        text.erase(p - 1, q - p + 3);
        if (origin)
            origin->erase(origin->begin() + static_cast<ptrdiff_t>(p - 1),
                          origin->begin() + static_cast<ptrdiff_t>(q + 2));
        p = pos("<!--");
        q = pos("-->");
        if (haltRequested)
            return false;
        host.setCountPanel(counter);
        ++counter;
    }
    return true;
}

} // namespace

bool LiteralRemoveComments(std::string &text, Host &host, const bool &haltRequested)
{
    return removeComments(text, host, haltRequested, nullptr);
}

namespace {

bool findTagAttribute(const std::string &tag, const std::string &attribute, std::string &value,
                      size_t &offset, const std::string &upper, const std::string &plain,
                      size_t &valueAt)
{
    value.clear();
    const size_t start = upper.find("<" + tag, offset);
    if (start == std::string::npos)
        return false;
    size_t p = start + 1 + tag.size();
    const size_t g = upper.find('>', p);
    if (g == std::string::npos)
        return false;
    if (skipBlanks(upper, p) == 0) {
        offset = g;
        return true;
    }
    size_t m = upper.find(attribute, p);
    while (m != std::string::npos && m < g) {
        if (!isBlank(upper[m - 1])) {
            m = upper.find(attribute, m + attribute.size());
            continue;
        }
        p = m + attribute.size();
        skipBlanks(upper, p);
        if (upper[p] == '=') {
            ++p;
            skipBlanks(upper, p);
            char stop = ' ';
            if (upper[p] == '"') {
                ++p;
                stop = '"';
            } else if (upper[p] == '\'') {
                ++p;
                stop = '\'';
            }
            size_t e = p;
            while (upper[e] != stop && upper[e] != '>')
                ++e;
            value = withoutCrLf(plain.substr(p, e - p));
            valueAt = p;
        }
        offset = g;
        return true;
    }
    offset = g;
    return true;
}

} // namespace

bool LiteralFindTagAttribute(const std::string &tag, const std::string &attribute,
                             std::string &value, size_t &offset, const std::string &upper,
                             const std::string &plain)
{
    size_t valueAt = 0;
    return findTagAttribute(tag, attribute, value, offset, upper, plain, valueAt);
}

namespace {

/// The ids: from each "<" followed by a letter, the tag's name up to a blank,
/// ">" or the end, and that tag's ID attribute as a link row would find it.
void addIds(const Adder &adder, const std::string &upper, const std::string &plain, IdSet &targets)
{
    std::string value;
    size_t offset = 0;
    for (;;) {
        size_t lt = upper.find('<', offset);
        while (lt != std::string::npos &&
               !(lt + 1 < upper.size() && upper[lt + 1] >= 'A' && upper[lt + 1] <= 'Z'))
            lt = upper.find('<', lt + 1);
        if (lt == std::string::npos)
            return;
        size_t nameEnd = lt + 1;
        while (nameEnd < upper.size() && !isBlank(upper[nameEnd]) && upper[nameEnd] != '>')
            ++nameEnd;
        offset = lt;
        size_t valueAt = 0;
        if (!findTagAttribute(upper.substr(lt + 1, nameEnd - lt - 1), "ID", value, offset, upper,
                              plain, valueAt))
            return;
        // An empty id names nothing a fragment could name.
        if (const auto id = adder.ruled(value); id && !id->empty())
            targets.Add(*id);
    }
}

} // namespace

void LiteralExtractLinks(std::string text, const ExtractContext &context, PageLinks &out)
{
    out = PageLinks();
    const std::string page = text;
    std::vector<size_t> origin(text.size());
    for (size_t i = 0; i < origin.size(); ++i)
        origin[i] = i;
    Host &host = context.host;
    host.setStatus(context.fileName + " - コメント削除中");
    if (!removeComments(text, host, context.haltRequested, &origin))
        return;

    const std::string plain = text;
    const std::string upper = upperCopy(text);

    host.setStatus(context.fileName + " - リンク抜き出し中");
    Adder adder{context};
    std::vector<Occurrence> occurrences;
    const auto placesNow = [&] { out.places = placesOf(out.links, occurrences, page); };
    std::string value;
    size_t valueAt = 0;
    for (const auto &[tag, attribute] : linkTable()) {
        size_t offset = 0;
        while (findTagAttribute(tag, attribute, value, offset, upper, plain, valueAt)) {
            if (const auto added = adder.addLink(out.links, value))
                occurrences.push_back({*added, origin[valueAt], false});
        }
    }

    size_t offset = 0;
    while (findTagAttribute("META", "CONTENT", value, offset, upper, plain, valueAt)) {
        host.processEvents();
        if (context.haltRequested) {
            placesNow();
            return;
        }
        host.setCountPanel(adder.counter);
        ++adder.counter;
        const size_t url = value.find("URL=");
        if (url != std::string::npos && url + 1 >= 2) {
            std::string target = TrimControl(value.substr(url + 4));
            if (!target.empty()) {
                const std::string cut = cutAtSpace(target);
                out.links.Add(cut);
                occurrences.push_back(
                    {cut, origin[valueAt], cut.front() == '"' || cut.front() == '\''});
            }
        }
    }
    placesNow();

    host.setStatus(context.fileName + " - アンカー抜き出し中");
    adder.counter = 0;
    for (const auto &[tag, attribute] : anchorTable()) {
        offset = 0;
        while (findTagAttribute(tag, attribute, value, offset, upper, plain, valueAt))
            adder.addLink(out.anchors, value);
    }
    if (!context.haltRequested)
        addIds(adder, upper, plain, out.targets);
}

} // namespace orvane::test
