#include "support/literal_extract.h"

#include "base/host.h"
#include "base/strutil.h"
#include "engine/stringlist.h"

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

    void addLink(SortedStringList &list, const std::string &value)
    {
        context.host.processEvents();
        if (context.haltRequested)
            return;
        context.host.setCountPanel(counter);
        ++counter;
        if (value.empty())
            return;
        if (upperCopy(value.substr(0, 11)) == "JAVASCRIPT:") {
            if (!context.ignoreJavaScript)
                list.Add(value);
            return;
        }
        if (context.isSpaceValid)
            list.Add(value);
        else
            list.Add(cutAtSpace(value));
    }
};

} // namespace

bool LiteralRemoveComments(std::string &text, Host &host, const bool &haltRequested)
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
        p = pos("<!--");
        q = pos("-->");
        if (haltRequested)
            return false;
        host.setCountPanel(counter);
        ++counter;
    }
    return true;
}

bool LiteralFindTagAttribute(const std::string &tag, const std::string &attribute,
                             std::string &value, size_t &offset, const std::string &upper,
                             const std::string &plain)
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
        }
        offset = g;
        return true;
    }
    offset = g;
    return true;
}

void LiteralExtractLinks(std::string text, const ExtractContext &context, SortedStringList &links,
                         SortedStringList &anchors)
{
    Host &host = context.host;
    host.setStatus(context.fileName + " - コメント削除中");
    if (!LiteralRemoveComments(text, host, context.haltRequested))
        return;

    const std::string plain = text;
    const std::string upper = upperCopy(text);

    host.setStatus(context.fileName + " - リンク抜き出し中");
    Adder adder{context};
    std::string value;
    for (const auto &[tag, attribute] : linkTable()) {
        size_t offset = 0;
        while (LiteralFindTagAttribute(tag, attribute, value, offset, upper, plain))
            adder.addLink(links, value);
    }

    size_t offset = 0;
    while (LiteralFindTagAttribute("META", "CONTENT", value, offset, upper, plain)) {
        host.processEvents();
        if (context.haltRequested)
            return;
        host.setCountPanel(adder.counter);
        ++adder.counter;
        const size_t url = value.find("URL=");
        if (url != std::string::npos && url + 1 >= 2) {
            value.erase(0, url + 4);
            value = TrimControl(value);
            if (!value.empty())
                links.Add(cutAtSpace(value));
        }
    }

    host.setStatus(context.fileName + " - アンカー抜き出し中");
    adder.counter = 0;
    for (const auto &[tag, attribute] : anchorTable()) {
        offset = 0;
        while (LiteralFindTagAttribute(tag, attribute, value, offset, upper, plain))
            adder.addLink(anchors, value);
    }
}

} // namespace orvane::test
