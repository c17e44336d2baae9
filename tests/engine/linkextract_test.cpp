#include "engine/linkextract.h"

#include "engine/stringlist.h"
#include "support/literal_extract.h"
#include "support/recordinghost.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace orvane {
namespace {

using test::RecordingHost;

/// Records the order of every progress call, so two extractions can be
/// compared call by call.
class TraceHost : public RecordingHost
{
public:
    void setStatus(const std::string &text) override
    {
        trace.push_back("S:" + text);
        RecordingHost::setStatus(text);
    }
    void setCountPanel(long n) override
    {
        trace.push_back("C:" + std::to_string(n));
        RecordingHost::setCountPanel(n);
    }
    void processEvents() override
    {
        trace.push_back("P");
        RecordingHost::processEvents();
    }

    std::vector<std::string> trace;
};

struct Outcome
{
    std::vector<std::string> links;
    std::vector<LinkPlace> places;
    std::vector<std::string> anchors;
    std::vector<uint64_t> targets; // as the id set keeps them
    std::vector<std::string> trace;
    long events = 0;
};

struct Options
{
    bool ignoreJavaScript = true;
    bool isSpaceValid = false;
    long haltAtEvent = 0; // 0: never
};

using Extractor = std::function<void(std::string &, const ExtractContext &, PageLinks &)>;

Outcome run(const Extractor &extract, const std::string &page, const Options &options)
{
    TraceHost host;
    bool halt = false;
    host.onProcessEvents = [&](long calls) {
        if (calls == options.haltAtEvent)
            halt = true;
    };
    ExtractContext context{host, halt, options.ignoreJavaScript, options.isSpaceValid, "p.html"};
    PageLinks lists;
    std::string text = page;
    extract(text, context, lists);
    return {lists.links.items(),    lists.places, lists.anchors.items(),
            lists.targets.hashes(), host.trace,   host.processEventsCalls};
}

Outcome fast(const std::string &page, const Options &options = {})
{
    return run(ExtractLinksFromText, page, options);
}

Outcome literal(const std::string &page, const Options &options = {})
{
    return run([](std::string &text, const ExtractContext &context,
                  PageLinks &lists) { test::LiteralExtractLinks(text, context, lists); },
               page, options);
}

std::string printable(const std::string &text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c < 32 || c > 126)
            out += "\\x" + std::to_string(c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

void expectSame(const std::string &page, const Options &options)
{
    const Outcome a = fast(page, options);
    const Outcome b = literal(page, options);
    ASSERT_EQ(a.links, b.links) << printable(page) << " halt " << options.haltAtEvent;
    ASSERT_EQ(a.anchors, b.anchors) << printable(page) << " halt " << options.haltAtEvent;
    ASSERT_EQ(a.targets, b.targets) << printable(page) << " halt " << options.haltAtEvent;
    ASSERT_EQ(a.places, b.places) << printable(page) << " halt " << options.haltAtEvent;
    ASSERT_EQ(a.trace, b.trace) << printable(page) << " halt " << options.haltAtEvent;
}

// ---- Page generators ---------------------------------------------------------------------

class PageMaker
{
public:
    explicit PageMaker(unsigned seed)
        : m_rng(seed)
    {
    }

    /// A page of tags, text, comments and stray bytes as a careless author writes them.
    std::string structured()
    {
        std::string page;
        const int items = pick(0, 40);
        for (int i = 0; i < items; ++i) {
            switch (pick(0, 9)) {
            case 0:
            case 1:
            case 2:
            case 3:
                page += tag();
                break;
            case 4:
                page += text();
                break;
            case 5:
                page += comment();
                break;
            case 6:
                page += refresh();
                break;
            case 7:
                page += "</" + mixCase(oneOf(tagNames())) + ">";
                break;
            case 8:
                page += strayBytes();
                break;
            default:
                page += oneOf(separators());
                break;
            }
        }
        return page;
    }

    /// A short page over a handful of tokens, dense in the cases where the
    /// rules meet: markers across removed comments, "<A" inside tags, quotes
    /// and ">" in odd places.
    std::string dense()
    {
        static const std::vector<std::string> tokens = {
            "<",
            ">",
            "a",
            "A ",
            " ",
            "href",
            "HREF",
            "=",
            "'",
            "\"",
            "x",
            "\r\n",
            "\r",
            "\n",
            "\t",
            "<a ",
            "<A\n",
            "<area ",
            "<abbr ",
            "<img src",
            " src=",
            "<!--",
            "-->",
            "<!",
            "--",
            "-",
            "!",
            " name=",
            "<map ",
            "<meta ",
            "content=",
            "URL=",
            "url=",
            "javascript:",
            " y",
            "<A HREF=",
            "hreflang",
            "<a<a ",
            "Q",
            "<Q cite=",
            "<td background=",
            "<tr ",
            "<t",
            " id=",
            "ID",
            "<div ",
            "<p>",
            "<b\tid=",
            "identity=",
            "data-id=",
            "<x-y ",
        };
        std::string page;
        const int n = pick(0, 30);
        for (int i = 0; i < n; ++i)
            page += oneOf(tokens);
        return page;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

private:
    template<typename T>
    const T &oneOf(const std::vector<T> &items)
    {
        return items[static_cast<size_t>(pick(0, static_cast<int>(items.size()) - 1))];
    }

    static const std::vector<std::string> &tagNames()
    {
        static const std::vector<std::string> names = {
            "A",     "AREA",  "APPLET", "BGSOUND", "BLOCKQUOTE", "BODY",  "DEL",   "EMBED",
            "FORM",  "FRAME", "ILAYER", "IFRAME",  "IMG",        "INPUT", "INS",   "ISINDEX",
            "LAYER", "LINK",  "Q",      "SCRIPT",  "STYLE",      "TABLE", "TD",    "TH",
            "TR",    "META",  "MAP",    "ABBR",    "ADDRESS",    "IMGX",  "TBODY", "TT",
            "A",     "A",     "IMG",    "B",       "DIV",        "SPAN",  "H2",    "X-Y",
        };
        return names;
    }

    static const std::vector<std::string> &attributeNames()
    {
        static const std::vector<std::string> names = {
            "HREF",   "CODE",   "SRC",      "CITE",       "BACKGROUND", "ACTION",   "LONGDESC",
            "DYNSRC", "LOWSRC", "USEMAP",   "NAME",       "CONTENT",    "HREFLANG", "XHREF",
            "ID",     "ALT",    "TARGET",   "HTTP-EQUIV", "HREF",       "SRC",      "NAME",
            "ID",     "ID",     "IDENTITY", "DATA-ID",
        };
        return names;
    }

    static const std::vector<std::string> &separators()
    {
        static const std::vector<std::string> seps = {" ",  " ",  " ", "\r\n", "\n",
                                                      "\r", "\t", "",  "  ",   " \r\n "};
        return seps;
    }

    std::string mixCase(const std::string &text)
    {
        std::string out = text;
        const int mode = pick(0, 2);
        for (char &c : out) {
            const bool lower = mode == 1 || (mode == 2 && pick(0, 1) == 1);
            if (lower && c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return out;
    }

    std::string valueText()
    {
        static const std::vector<std::string> pieces = {
            "a.html",
            "Index.HTML",
            "my page.html",
            "javascript:go()",
            "JavaScript:go(1, 2)",
            "javascrip",
            "#top",
            "http://example.org/x",
            " ",
            "\r\n",
            "\r",
            "\n",
            "<A",
            "<a href=q.html",
            "-->",
            "<!--",
            ">",
            "'",
            "\"",
            "URL=",
            "url=",
            "0; URL=n.html",
            "3;URL= next.html ",
            "\t",
            "\x82\xa0",
            "\xff",
            "=",
            "PAGE.HTML",
            "page.html",
            "sub/b.gif",
            "img/P.png",
        };
        std::string out;
        const int n = pick(0, 3);
        for (int i = 0; i < n; ++i)
            out += oneOf(pieces);
        return out;
    }

    std::string attribute()
    {
        std::string out = mixCase(oneOf(attributeNames()));
        if (pick(0, 6) == 0)
            return out; // no "="
        out += pick(0, 3) == 0 ? oneOf(separators()) : "";
        out += "=";
        out += pick(0, 3) == 0 ? oneOf(separators()) : "";
        switch (pick(0, 2)) {
        case 0:
            return out + valueText();
        case 1:
            return out + "\"" + valueText() + (pick(0, 5) == 0 ? "" : "\"");
        default:
            return out + "'" + valueText() + (pick(0, 5) == 0 ? "" : "'");
        }
    }

    std::string tag()
    {
        std::string out = "<" + mixCase(oneOf(tagNames()));
        const int attributes = pick(0, 4);
        for (int i = 0; i < attributes; ++i)
            out += oneOf(separators()) + attribute();
        if (pick(0, 1) == 0)
            out += oneOf(separators());
        if (pick(0, 9) != 0)
            out += ">";
        return out;
    }

    std::string text()
    {
        static const std::vector<std::string> words = {
            "Hello", " world", "\r\n", "a < b", "x > y", "--",   "!",
            "<",     ">",      "=",    "\"",    "'",     "url=", "URL=",
        };
        std::string out;
        const int n = pick(1, 4);
        for (int i = 0; i < n; ++i)
            out += oneOf(words);
        return out;
    }

    std::string comment()
    {
        switch (pick(0, 7)) {
        case 0:
            return "<!--";
        case 1:
            return "-->";
        case 2:
            return "<!<!-- x -->-- " + tag() + " -->";
        case 3:
            return "<!-->";
        case 4:
            return "<!--->";
        case 5:
            return "<!-" + tag() + "->";
        default:
            return "<!-- " + tag() + text() + " -->";
        }
    }

    std::string refresh()
    {
        static const std::vector<std::string> contents = {
            "'3; URL=next.html'",  "\"0;URL=a.html b\"",
            "'3; url=no.html'",    "URL=x.html",
            "\"5; URL=   \"",      "'1;URL=\r\nsplit.html'",
            "x;URL=URL=two.html",  "'0; URL= spaced name.html '",
            "0;URL=unquoted.html", "\"\"",
        };
        std::string out = "<" + mixCase("META");
        if (pick(0, 1) == 0)
            out += " " + mixCase("HTTP-EQUIV") + "=Refresh";
        out += oneOf(separators()) + mixCase("CONTENT") + "=" + oneOf(contents);
        return out + (pick(0, 9) == 0 ? "" : ">");
    }

    std::string strayBytes()
    {
        std::string out;
        const int n = pick(1, 8);
        for (int i = 0; i < n; ++i)
            out += static_cast<char>(pick(1, 255));
        return out;
    }

    std::mt19937 m_rng;
};

const Options allOptions[] = {
    {true, false, 0},
    {true, true, 0},
    {false, false, 0},
    {false, true, 0},
};

// ---- Differential tests -----------------------------------------------------------------

TEST(LinkExtract, MatchesLiteralOnGeneratedPages)
{
    PageMaker maker(20240611);
    for (int i = 0; i < 1500; ++i) {
        const std::string page = i % 2 == 0 ? maker.structured() : maker.dense();
        for (const Options &options : allOptions)
            ASSERT_NO_FATAL_FAILURE(expectSame(page, options));
    }
}

TEST(LinkExtract, MatchesLiteralOnLargePage)
{
    PageMaker maker(77);
    std::string page;
    for (int i = 0; i < 150; ++i)
        page += maker.structured();
    for (const Options &options : allOptions)
        ASSERT_NO_FATAL_FAILURE(expectSame(page, options));
}

TEST(LinkExtract, MatchesLiteralWhenHaltedAtAnyEvent)
{
    PageMaker maker(4242);
    for (int i = 0; i < 150; ++i) {
        const std::string page = i % 3 == 0 ? maker.dense() : maker.structured();
        const long events = literal(page).events;
        for (long haltAt = 1; haltAt <= events + 1; ++haltAt) {
            Options options = allOptions[i % 4];
            options.haltAtEvent = haltAt;
            ASSERT_NO_FATAL_FAILURE(expectSame(page, options));
        }
    }
}

TEST(FindTagAttribute, MatchesLiteralRowByRow)
{
    static const std::vector<std::pair<std::string, std::string>> rows = {
        {"A", "HREF"},       {"AREA", "HREF"},     {"IMG", "SRC"},  {"IMG", "LOWSRC"},
        {"META", "CONTENT"}, {"TD", "BACKGROUND"}, {"MAP", "NAME"}, {"A", "NAME"},
    };
    PageMaker maker(99);
    for (int i = 0; i < 1000; ++i) {
        const std::string page = i % 2 == 0 ? maker.structured() : maker.dense();
        std::string upper = page;
        for (char &c : upper)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        for (const auto &[tag, attribute] : rows) {
            size_t fastOffset = 0;
            size_t literalOffset = 0;
            std::string fastValue;
            std::string literalValue;
            for (;;) {
                const bool f = FindTagAttribute(tag, attribute, fastValue, fastOffset, page);
                const bool l = test::LiteralFindTagAttribute(tag, attribute, literalValue,
                                                             literalOffset, upper, page);
                ASSERT_EQ(f, l) << printable(page) << " row " << tag << "/" << attribute;
                ASSERT_EQ(fastOffset, literalOffset) << printable(page);
                ASSERT_EQ(fastValue, literalValue) << printable(page);
                if (!f)
                    break;
            }
        }
    }
}

// ---- Comment removal --------------------------------------------------------------------

struct Removal
{
    bool completed;
    std::string text;
    long events;
};

Removal removeWith(bool (*remove)(std::string &, Host &, const bool &), std::string text,
                   long haltAt = 0)
{
    RecordingHost host;
    bool halt = false;
    host.onProcessEvents = [&](long calls) {
        if (calls == haltAt)
            halt = true;
    };
    const bool completed = remove(text, host, halt);
    return {completed, completed ? text : std::string(), host.processEventsCalls};
}

void expectSameRemoval(const std::string &text, long haltAt = 0)
{
    const Removal a = removeWith(RemoveComments, text, haltAt);
    const Removal b = removeWith(test::LiteralRemoveComments, text, haltAt);
    ASSERT_EQ(a.completed, b.completed) << printable(text);
    ASSERT_EQ(a.text, b.text) << printable(text);
    ASSERT_EQ(a.events, b.events) << printable(text);
}

TEST(RemoveComments, MatchesLiteralOnEveryShortMarkerText)
{
    // Every text of up to seven bytes over the markers' own letters: each way
    // a marker can form across a removed comment is among them.
    const std::string letters = "<!->x";
    std::vector<std::string> level = {""};
    for (int length = 1; length <= 7; ++length) {
        std::vector<std::string> next;
        next.reserve(level.size() * letters.size());
        for (const std::string &prefix : level) {
            for (char c : letters) {
                next.push_back(prefix + c);
                ASSERT_NO_FATAL_FAILURE(expectSameRemoval(next.back()));
            }
        }
        level = std::move(next);
    }
}

TEST(RemoveComments, MatchesLiteralOnLongTexts)
{
    static const std::vector<std::string> tokens = {
        "<!--", "-->", "<!", "--", "-", "!", "<", ">", "x", "<!-->", "<!--->", " text "};
    std::mt19937 rng(5150);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        const int n = std::uniform_int_distribution<int>(0, 80)(rng);
        for (int k = 0; k < n; ++k)
            text += tokens[std::uniform_int_distribution<size_t>(0, tokens.size() - 1)(rng)];
        ASSERT_NO_FATAL_FAILURE(expectSameRemoval(text));
        const long events = removeWith(test::LiteralRemoveComments, text).events;
        if (events > 0) {
            ASSERT_NO_FATAL_FAILURE(
                expectSameRemoval(text, std::uniform_int_distribution<long>(1, events)(rng)));
        }
    }
}

TEST(RemoveComments, Cases)
{
    struct Case
    {
        const char *name;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"plain comment", "a<!-- x -->b", "ab"},
        {"markers meet after removal", "<!<!-- x -->-- y -->z", "z"},
        {"end marker first stops everything", "--> <!-- x -->", "--> <!-- x -->"},
        {"unterminated start stays", "a<!-- b", "a<!-- b"},
        {"start after the last end stays", "<!--a-->b<!--c", "b<!--c"},
        {"shortest comment", "a<!-->b", "ab"},
        {"dashes shared with the start", "a<!--->b", "ab"},
        {"end marker between comments", "<!--a-->-->b<!--c-->", "-->b<!--c-->"},
    };
    for (const Case &c : cases) {
        const Removal r = removeWith(RemoveComments, c.text);
        EXPECT_TRUE(r.completed) << c.name;
        EXPECT_EQ(r.text, c.expected) << c.name;
    }
}

// ---- The rules, case by case ------------------------------------------------------------

struct RuleCase
{
    const char *name;
    std::string page;
    std::vector<std::string> links;
    std::vector<std::string> anchors = {};
    Options options = {};
};

TEST(LinkExtract, Rules)
{
    const Options spaces{true, true, 0};
    const Options scripts{false, false, 0};
    const RuleCase cases[] = {
        {"names match in any case, values keep theirs", "<a href=Index.HTML>", {"Index.HTML"}},
        {"A row skips ABBR and AREA", "<ABBR HREF=x><AREA HREF=y>", {"y"}},
        {"tab after the name", "<A\tHREF=x>", {}},
        {"CR LF after the name", "<A\r\nHREF=x>", {"x"}},
        {"HREF inside HREFLANG wins", "<A HREFLANG=en HREF=x.html>", {}},
        {"attribute preceded by a tab", "<A NAME=n\tHREF=x.html>", {}, {"n\tHREF=x.html"}},
        {"unquoted value runs over a line break",
         "<A HREF=a.html\r\nTARGET=_top>",
         {"a.htmlTARGET=_top"}},
        {"quoted value ends at >", "<A HREF=\"x.html>y\">", {"x.html"}},
        {"quoted value keeps the other quote", "<A HREF='p\"q'>", {"p\"q"}},
        {"blanks around =", "<A HREF = \"sp aced\" >", {"sp"}},
        {"leading space leaves an empty text", "<A HREF=' a.html'>", {""}},
        {"leading space kept whole", "<A HREF=' a.html'>", {" a.html"}, {}, spaces},
        {"cut at the space", "<A HREF=\"my page.html\">", {"my"}},
        {"kept whole", "<A HREF=\"my page.html\">", {"my page.html"}, {}, spaces},
        {"script dropped", "<A HREF='JavaScript:go(1, 2)'>", {}},
        {"script kept whole",
         "<A HREF='JavaScript:go(1, 2)'>",
         {"JavaScript:go(1, 2)"},
         {},
         scripts},
        {"script test after CR LF removal", "<A HREF='java\r\nscript:x y'>", {}},
        {"short scheme is no script", "<A HREF='javascrip'>", {"javascrip"}},
        {"CR LF pairs removed once", "<A HREF='a\r\r\n\nb'>", {"a\r\nb"}},
        {"values taken apart each keep their text",
         "<A HREF='b\r\n.html'><A HREF='a\r\n.html'><META CONTENT='0;URL=c.html'>"
         "<META CONTENT='0;URL=d.html'><A HREF='e\r\n.html'>",
         {"a.html", "b.html", "c.html", "d.html", "e.html"}},
        {"no > at all", "<A HREF=x", {}},
        {"no attribute =", "<A HREF><A HREF=y>", {"y"}},
        {"refresh", "<META HTTP-EQUIV=Refresh CONTENT='3; URL=next.html'>", {"next.html"}},
        {"refresh in lower case", "<META HTTP-EQUIV=Refresh CONTENT='3; url=next.html'>", {}},
        {"refresh at the first character", "<META CONTENT='URL=x.html'>", {}},
        {"refresh of any META", "<meta name=x content=\"0;URL=a.html b\">", {"a.html"}},
        {"refresh ignores the space setting", "<META CONTENT='0;URL=a b.html'>", {"a"}, {}, spaces},
        {"refresh ignores the script setting",
         "<META CONTENT='0;URL=javascript:x'>",
         {"javascript:x"}},
        {"refresh to nothing", "<META CONTENT=\"5; URL=   \">", {}},
        {"refresh trims controls", "<META CONTENT='1;URL=\t x.html\t'>", {"x.html"}},
        {"links in a comment", "<!-- <A HREF=in.html> --><A HREF=out.html>", {"out.html"}},
        {"end marker first", "--> <!-- <A HREF=in.html> -->", {"in.html"}},
        {"comment around a nested start",
         "<!<!-- x -->-- <A HREF=hidden> --> <A HREF=shown>",
         {"shown"}},
        {"one text per case-insensitive name",
         "<A HREF=Page.html><a href=PAGE.HTML>",
         {"Page.html"}},
        {"earlier row keeps its case", "<IMG SRC=PIC.GIF><A HREF=pic.gif>", {"pic.gif"}},
        {"anchors", "<MAP NAME=m><A NAME=top>", {}, {"m", "top"}},
        {"anchor name cut at the space", "<A NAME=\"my anchor\">", {}, {"my"}},
        {"anchor name twice", "<A NAME=Top><a name=TOP>", {}, {"Top"}},
        {"A and NAME in one tag", "<A NAME=a HREF=b>", {"b"}, {"a"}},
        {"<A inside a value is a tag", "<IMG ALT=\"<A HREF=x.html>\" SRC=i.gif>", {"x.html"}},
        {"name running on hides what follows up to >", "<ABBR <A HREF=y>", {}},
        {"every row",
         "<area href=1><applet code=2><bgsound src=3><blockquote cite=4>"
         "<body background=5><del cite=6><embed src=7><form action=8>"
         "<frame longdesc=9 src=10><ilayer src=11 background=12>"
         "<iframe longdesc=13 src=14><img dynsrc=15 longdesc=16 lowsrc=17 src=18 "
         "usemap=19><input src=20 usemap=21><ins cite=22><isindex action=23>"
         "<layer background=24 src=25><link href=26 src=27><q cite=28>"
         "<script src=29><style src=30><table background=31><td background=32>"
         "<th background=33><tr background=34>",
         {"1",  "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "2",
          "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "3",  "30",
          "31", "32", "33", "34", "4",  "5",  "6",  "7",  "8",  "9"}},
    };
    for (const RuleCase &c : cases) {
        const Outcome a = fast(c.page, c.options);
        EXPECT_EQ(a.links, c.links) << c.name;
        EXPECT_EQ(a.anchors, c.anchors) << c.name;
        const Outcome b = literal(c.page, c.options);
        EXPECT_EQ(b.links, c.links) << c.name << " (reference)";
        EXPECT_EQ(b.anchors, c.anchors) << c.name << " (reference)";
    }
}

TEST(LinkExtract, IdsOfEveryTag)
{
    struct Case
    {
        const char *name;
        std::string page;
        std::vector<std::string> targets;
        Options options = {};
    };
    const Options spaces{true, true, 0};
    const Case cases[] = {
        {"any tag, names in any case", "<div id=Intro><SPAN ID='b'>", {"b", "Intro"}},
        {"ids compare without case", "<h2 id=a><h2 id=A>", {"A"}},
        {"a leading space leaves no id", "<p id=' x'>", {}},
        {"ID inside a longer attribute decides", "<b identity=1 id=x>", {}},
        {"data-id is no id", "<p data-id=x>", {}},
        {"tab after the name", "<b\tid=x>", {}},
        {"> right after the name", "<br><p>", {}},
        {"CR LF after the name", "<div\r\nid=x>", {"x"}},
        {"the first id counts", "<div id=a id=b>", {"a"}},
        {"quoted value ends at >", "<a id=\"x>y\">", {"x"}},
        {"CR LF pairs removed", "<div id='a\r\nb'>", {"ab"}},
        {"cut at the space", "<span id='my id'>", {"my"}},
        {"kept whole", "<span id='my id'>", {"my id"}, spaces},
        {"script values dropped", "<x id=javascript:y>", {}},
        {"no value", "<div id=><div id>", {}},
        {"no letter after <", "<1 id=x><_a id=y>", {}},
        {"no > ends the scan", "<div id=a><div id=b", {"a"}},
        {"a tag inside a value is skipped with the tag",
         "<div title=\"<p id=inner>\" id=outer>",
         {"inner"}},
        {"ids in a comment are not taken", "<!-- <div id=c> --><div id=d>", {"d"}},
        {"link rows and anchors keep theirs", "<a href=#x id=y name=z>", {"y"}},
    };
    for (const Case &c : cases) {
        IdSet expected;
        for (const std::string &id : c.targets)
            expected.Add(id);
        EXPECT_EQ(fast(c.page, c.options).targets, expected.hashes()) << c.name;
        EXPECT_EQ(literal(c.page, c.options).targets, expected.hashes())
            << c.name << " (reference)";
    }
    const Outcome both = fast("<a href=#x id=y name=z>");
    EXPECT_EQ(both.links, std::vector<std::string>{"#x"});
    EXPECT_EQ(both.anchors, std::vector<std::string>{"z"});
}

TEST(LinkExtract, IdsAddNoProgressAndGoWithAHalt)
{
    const std::string page = "<div id=a><a href=x name=n>";
    EXPECT_EQ(fast(page).events, 2) << "the A row of the links and of the anchors";
    for (long haltAt = 1; haltAt <= 2; ++haltAt)
        EXPECT_TRUE(fast(page, {true, false, haltAt}).targets.empty()) << haltAt;
}

TEST(LinkExtract, LinesCountsAndOrderOfFirstOccurrence)
{
    struct Expected
    {
        std::string link;
        uint32_t line;
        uint32_t count;
        uint32_t order;
        bool quotedRefresh = false;
    };
    struct Case
    {
        const char *name;
        std::string page;
        std::vector<Expected> links; // in list order
    };
    const Case cases[] = {
        {"repeats count, the first stands",
         "<a href=a>\n<a href=b>\n<a href=a>",
         {{"a", 1, 2, 0}, {"b", 2, 1, 1}}},
        {"CR LF, lone CR and lone LF end a line each", "\r\n\r\n<a href=x>", {{"x", 3, 1, 0}}},
        {"page order, not row order",
         "<img src=i.gif>\r<a href=a.html>",
         {{"a.html", 2, 1, 1}, {"i.gif", 1, 1, 0}}},
        {"letter cases are one link", "<A HREF=X.html>\n<a href=x.HTML>", {{"X.html", 1, 2, 0}}},
        {"a longer link with the same start is another",
         "<a href=ab>\n<a href=a>",
         {{"a", 2, 1, 1}, {"ab", 1, 1, 0}}},
        {"line breaks of removed comments count", "<!--\n\n-->\n<a href=x>", {{"x", 4, 1, 0}}},
        {"a CR and an LF parted by a comment are two breaks",
         "\r<!-- -->\n<a href=x>",
         {{"x", 3, 1, 0}}},
        {"a comment formed across a removed one",
         "<!<!--\n-->--\n-->\n<a href=x>",
         {{"x", 4, 1, 0}}},
        {"a value over two lines starts on the first", "<a\nhref='p\r\nq'>", {{"pq", 2, 1, 0}}},
        {"refresh targets in quotes are marked",
         "<meta content=\"0; URL='n.html'\">\n<a href=\"'q.html'\">",
         {{"'n.html'", 1, 1, 0, true}, {"'q.html'", 2, 1, 1}}},
    };
    for (const Case &c : cases) {
        for (const Outcome &o : {fast(c.page), literal(c.page)}) {
            std::vector<std::string> links;
            for (const Expected &e : c.links)
                links.push_back(e.link);
            ASSERT_EQ(o.links, links) << c.name;
            ASSERT_EQ(o.places.size(), links.size()) << c.name;
            for (size_t i = 0; i < links.size(); ++i) {
                EXPECT_EQ(o.places[i].line, c.links[i].line) << c.name << ": " << links[i];
                EXPECT_EQ(o.places[i].count, c.links[i].count) << c.name << ": " << links[i];
                EXPECT_EQ(o.places[i].order, c.links[i].order) << c.name << ": " << links[i];
                EXPECT_EQ(o.places[i].quotedRefresh, c.links[i].quotedRefresh ? 1u : 0u)
                    << c.name << ": " << links[i];
            }
        }
    }
}

TEST(LinkExtract, LinesMatchLiteralAcrossEveryShortCommentText)
{
    // Every text of up to six bytes over the comment markers and the line
    // breaks, between two links: each way a comment can part or join a CR
    // and an LF is among them.
    const std::string letters = "<!->\r\n";
    std::vector<std::string> level = {""};
    for (int length = 1; length <= 6; ++length) {
        std::vector<std::string> next;
        next.reserve(level.size() * letters.size());
        for (const std::string &prefix : level) {
            for (char c : letters) {
                next.push_back(prefix + c);
                ASSERT_NO_FATAL_FAILURE(
                    expectSame("<a href=a>" + next.back() + "\n<a href=b>", {}));
            }
        }
        level = std::move(next);
    }
}

TEST(LinkExtract, UnquotedRefreshTarget)
{
    const std::pair<const char *, const char *> cases[] = {
        {"'next.html'", "next.html"},
        {"\"a.html\"x", "a.html"},
        {"'unclosed", "unclosed"},
        {"\"a'b\"", "a'b"},
        {"''", ""},
        {"plain.html", "plain.html"},
        {"x'y'", "x'y'"},
        {"", ""},
    };
    for (const auto &[target, expected] : cases)
        EXPECT_EQ(UnquotedRefreshTarget(target), expected) << target;
}

TEST(LinkExtract, ReportsProgressPerCommentAndPerFind)
{
    const std::string page = "<!--a--><!--b--><A HREF=x><IMG SRC=y>";
    const std::vector<std::string> expected = {
        "S:p.html - コメント削除中",
        "P",
        "C:0",
        "P",
        "C:1",
        "S:p.html - リンク抜き出し中", // the A row, then the five IMG rows
        "P",
        "C:0",
        "P",
        "C:1",
        "P",
        "C:2",
        "P",
        "C:3",
        "P",
        "C:4",
        "P",
        "C:5",
        "S:p.html - アンカー抜き出し中",
        "P",
        "C:0", // the A row of the anchors
    };
    EXPECT_EQ(fast(page).trace, expected);
    EXPECT_EQ(literal(page).trace, expected);
}

TEST(LinkExtract, HaltStopsAtTheDocumentedPoints)
{
    struct Case
    {
        const char *name;
        std::string page;
        long haltAt;
        std::vector<std::string> links;
        std::vector<std::string> anchors;
        std::vector<std::string> statuses; // last status shown
        long events;
    };
    const Case cases[] = {
        {"during comment removal nothing is extracted",
         "<!--a--><A HREF=x NAME=n>",
         1,
         {},
         {},
         {"p.html - コメント削除中"},
         1},
        {"links found before the halt stay, later ones go, the META stage stops",
         "<A HREF=x><A HREF=y NAME=n><META CONTENT='0;URL=z'>",
         2,
         {"x"},
         {},
         {"p.html - リンク抜き出し中"},
         3},
        {"without META the anchor stage runs but adds nothing",
         "<A HREF=x><A HREF=y NAME=n>",
         2,
         {"x"},
         {},
         {"p.html - アンカー抜き出し中"},
         4},
        {"halt in the META stage keeps the links",
         "<A HREF=x><META CONTENT='0;URL=z'>",
         2,
         {"x"},
         {},
         {"p.html - リンク抜き出し中"},
         2},
        {"halt in the anchor stage keeps the earlier anchors",
         "<A NAME=a><A NAME=b>",
         4,
         {},
         {"a"},
         {"p.html - アンカー抜き出し中"},
         4},
    };
    for (const Case &c : cases) {
        for (const Extractor &extract :
             {Extractor(ExtractLinksFromText),
              Extractor([](std::string &text, const ExtractContext &context, PageLinks &lists) {
                  test::LiteralExtractLinks(text, context, lists);
              })}) {
            const Outcome o = run(extract, c.page, {true, false, c.haltAt});
            EXPECT_EQ(o.links, c.links) << c.name;
            EXPECT_EQ(o.anchors, c.anchors) << c.name;
            std::string lastStatus;
            for (const std::string &t : o.trace) {
                if (t.rfind("S:", 0) == 0)
                    lastStatus = t.substr(2);
            }
            EXPECT_EQ(std::vector<std::string>{lastStatus}, c.statuses) << c.name;
            EXPECT_EQ(o.events, c.events) << c.name;
        }
    }
}

TEST(LinkExtract, CutAtSpace)
{
    EXPECT_EQ(CutAtSpace("my page.html"), "my");
    EXPECT_EQ(CutAtSpace("whole.html"), "whole.html");
    EXPECT_EQ(CutAtSpace(" lead.html"), "");
    EXPECT_EQ(CutAtSpace("tab\there"), "tab\there");
}

} // namespace
} // namespace orvane
