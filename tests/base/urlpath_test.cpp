#include "base/strutil.h"
#include "base/urlpath.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace orvane {
namespace {

struct ExpandCase
{
    const char *name;
    const char *input;
    const char *expected;
};

TEST(URLToPath, ExpandFileNameIsLexical)
{
    const ExpandCase cases[] = {
        {"plain", "/a/b/c.html", "/a/b/c.html"},
        {"trailing slash stays", "/a/b/", "/a/b/"},
        {"dot segment", "/a/./b.html", "/a/b.html"},
        {"dotdot segment", "/a/x/../b.html", "/a/b.html"},
        {"final dot leaves no slash", "/a/b/.", "/a/b"},
        {"final dotdot leaves no slash", "/a/b/..", "/a"},
        {"dotdot with trailing slash", "/a/b/../", "/a/"},
        {"above root stays at root", "/../../x", "/x"},
        {"root", "/", "/"},
        {"only dotdot", "/..", "/"},
        {"repeated slashes collapse", "/a//b///c", "/a/b/c"},
        {"dots inside names stay", "/a/..b/c../.d", "/a/..b/c../.d"},
    };
    for (const ExpandCase &c : cases)
        EXPECT_EQ(ExpandFileName(c.input), c.expected) << c.name;
}

/// Lexical expansion spelled out segment by segment, the oracle for the
/// expansion with its shortcut for paths that are already expanded.
std::string literalExpand(const std::string &absolute)
{
    std::vector<std::string> segments;
    std::string segment;
    bool trailing = absolute.back() == '/';
    for (size_t i = 1; i <= absolute.size(); ++i) {
        if (i < absolute.size() && absolute[i] != '/') {
            segment += absolute[i];
            continue;
        }
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        if (i == absolute.size() && (segment == "." || segment == ".."))
            trailing = false;
        segment.clear();
    }
    std::string out;
    for (const std::string &s : segments)
        out += "/" + s;
    if (out.empty() || trailing)
        out += "/";
    return out;
}

TEST(URLToPath, ExpandFileNameAgreesWithSegmentBySegmentExpansion)
{
    const char alphabet[] = {'a', '.', '/', 'b'};
    for (unsigned n = 0; n < (1u << 16); ++n) {
        std::string path = "/";
        for (unsigned k = 0, bits = n; k < 8; ++k, bits >>= 2)
            path += alphabet[bits & 3];
        ASSERT_EQ(ExpandFileName(path), literalExpand(path)) << path;
    }
}

TEST(URLToPath, JoiningAgreesWithExpandingTheJoinedText)
{
    // Every link of up to five pieces from each base: climbs, dots, empty
    // segments, backslashes and names, against folders plain and not.
    const std::string pieces[] = {"../", "./", "..", ".", "/", "\\", "a", "b.html"};
    const std::string bases[] = {"/p.html",    "/s/p.html",    "/s/t/u/p.html", "/s/./t/p.html",
                                 "/s//p.html", "/s/../p.html", "/s/t/"};
    // One string takes every result in turn, as a page's links are resolved:
    // nothing of a longer result before may be left in it.
    std::string reused;
    for (const std::string &base : bases) {
        for (unsigned length = 0, count = 1; length <= 5; ++length, count *= 8) {
            for (unsigned n = 0; n < count; ++n) {
                std::string link;
                for (unsigned k = 0, bits = n; k < length; ++k, bits >>= 3)
                    link += pieces[bits & 7];
                if (link == ExtractFileName(base))
                    continue;
                std::string joined = std::string(ExtractFilePath(base)) + link;
                BackslashToSlash(joined);
                const std::string expected = ExpandFileName(joined);
                ASSERT_EQ(URLToPath(base, link), expected) << base << " + " << link;
                URLToPathInto(base, link, reused);
                ASSERT_EQ(reused, expected) << base << " + " << link;
            }
        }
    }
}

TEST(URLToPath, RelativePathsStartAtTheCurrentFolder)
{
    char buffer[4096];
    ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
    const std::string cwd = buffer;
    EXPECT_EQ(ExpandFileName("x/y.html"), cwd + "/x/y.html");
    EXPECT_EQ(ExpandFileName(""), cwd == "/" ? "/" : cwd + "/");
}

TEST(URLToPath, JoinsTheLinkToTheFolderOfTheBase)
{
    const ExpandCase cases[] = {
        {"sibling", "page.html", "/site/sub/page.html"},
        {"sub folder", "deep/x.gif", "/site/sub/deep/x.gif"},
        {"parent", "../index.html", "/site/index.html"},
        {"out of the site", "../../other/x.html", "/other/x.html"},
        {"backslashes are separators", "..\\img\\a.gif", "/site/img/a.gif"},
        {"absolute link", "/etc/x", "/site/sub/etc/x"},
        {"folder link keeps its slash", "deep/", "/site/sub/deep/"},
    };
    for (const ExpandCase &c : cases)
        EXPECT_EQ(URLToPath("/site/sub/page.html", c.input), c.expected) << c.name;
}

TEST(URLToPath, HashInAFolderOrFileNameIsPartOfThePath)
{
    // Cutting at a "#" would lose the folder name, or turn a page's link to
    // its own anchor ("#top" on "faq#1.html", path part "faq#1.html") into a
    // link to "faq".
    EXPECT_EQ(URLToPath("/site/c#/index.html", "a.html"), "/site/c#/a.html");
    EXPECT_EQ(URLToPath("/site/faq#1.html", "faq#1.html"), "/site/faq#1.html");
    EXPECT_EQ(URLToPath("/site/a\\b#c.html", "a\\b#c.html"), "/site/a\\b#c.html")
        << "the page's own name names the page, a backslash in it included";
    EXPECT_EQ(URLToPath("/site/x.html", "a\\b.html"), "/site/a/b.html");
    EXPECT_EQ(URLToPath("/site/c#/index.html", "../x#y/b.html"), "/site/x#y/b.html");
}

TEST(DecodeLinkEscapes, AmpersandsFirstThenPercentEscapesOnce)
{
    const std::pair<const char *, const char *> cases[] = {
        {"my%20page.html", "my page.html"},
        {"caf%C3%a9", "caf\xC3\xA9"},
        {"a&amp;b", "a&b"},
        {"a&AMP;b&Amp;c", "a&b&c"},
        {"&amp;amp;", "&amp;"}, // one pass
        {"%26amp;", "&amp;"},   // the escape is decoded after the ampersands
        {"%2525", "%25"},       // once only
        {"q%3Fx", "q?x"},
        {"a%2Fb%2fc", "a%2Fb%2fc"}, // no new separator
        {"a%5Cb%5cc", "a%5Cb%5cc"},
        {"a%00b", "a%00b"},   // no end of the name
        {"%zz%4%", "%zz%4%"}, // not two hex digits
        {"&amp", "&amp"},
        {"", ""},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(DecodeLinkEscapes(text), expected) << text;
}

} // namespace
} // namespace orvane
