#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using test::SiteFixture;

enum class Verdict { Valid, Invalid, External, None };

Verdict verdictOf(const FileObject &page, const std::string &link)
{
    auto has = [&link](const LinkSubset &list) {
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i] == link)
                return true;
        return false;
    };
    if (has(page.ValidLinks))
        return Verdict::Valid;
    if (has(page.InvalidLinks))
        return Verdict::Invalid;
    if (has(page.ExternalLinks))
        return Verdict::External;
    return Verdict::None;
}

struct LinkCase
{
    const char *link;
    Verdict expected;
};

/// A page holding every link of the cases, checked in a small site.
void expectVerdicts(SiteFixture &f, const std::vector<LinkCase> &cases)
{
    std::string html;
    for (const LinkCase &c : cases)
        html += std::string("<a href=\"") + c.link + "\">x</a>\n";
    f.dir.write("site/page.html", html);
    CheckFolder(f.site, f.dir.path() + "site", false);
    const FileObject *page = f.object("site/page.html");
    ASSERT_NE(page, nullptr);
    for (const LinkCase &c : cases)
        EXPECT_EQ(verdictOf(*page, c.link), c.expected) << "link " << c.link;
}

void writeSite(SiteFixture &f)
{
    f.dir.write("site/index.html", "<a name=Top></a>");
    f.dir.write("site/sub/index.html", "");
    f.dir.write("site/img/a.gif", "");
    f.dir.write("site/my%20page.html", "");
    f.dir.write("site/a.cgi", "");
    f.dir.write("site/skip.bak", "");
    f.dir.write("outside.html", "");
}

TEST(CheckLinks, ClassifiesRelativeLinksAgainstTheTree)
{
    SiteFixture f;
    writeSite(f);
    f.project.AddWildCard("*.bak");
    expectVerdicts(f, {
                          {"index.html", Verdict::Valid},
                          {"sub/", Verdict::Valid},
                          {"sub", Verdict::Invalid}, // a folder, not a file
                          {"index.html#top", Verdict::Valid},
                          {"index.html#nowhere", Verdict::Invalid},
                          {"#nowhere", Verdict::Invalid},
                          {"?sort=1", Verdict::None},
                          {"http:index.html", Verdict::Valid},
                          {"HTTP://example.org/", Verdict::External},
                          {"ftp://example.org/x", Verdict::External},
                          {"mailto:me@example.org", Verdict::External},
                          {"News:comp.lang", Verdict::External},
                          {"x.cgi?u=http://example.org", Verdict::External},
                          {"javascript:go()", Verdict::None}, // dropped while extracting
                          {"../outside.html", Verdict::Invalid},
                          {"my%20page.html", Verdict::Valid},
                          {"a.cgi?x=1&amp;y=2", Verdict::Valid},
                          {"skip.bak", Verdict::Invalid}, // on disk, but not in the tree
                          {"img\\a.gif", Verdict::Valid},
                          {"/img/a.gif", Verdict::External},
                          {"file:///etc/hostname", Verdict::Invalid},
                      });
}

TEST(CheckLinks, IgnoreCaseFindsFilesInAnyCaseButAnchorsAlwaysIgnoreCase)
{
    SiteFixture strict;
    writeSite(strict);
    expectVerdicts(strict, {{"Index.html", Verdict::Invalid}, {"IMG/A.GIF", Verdict::Invalid}});

    SiteFixture f;
    writeSite(f);
    f.settings.IgnoreCase = true;
    expectVerdicts(f, {
                          {"Index.html", Verdict::Valid},
                          {"INDEX.HTML#TOP", Verdict::Valid},
                          {"IMG/A.GIF", Verdict::Valid},
                      });
}

TEST(CheckLinks, RootRelativeLinksCheckTheDiskUnderTheServerRoot)
{
    SiteFixture f;
    writeSite(f);
    f.dir.write("www/only-on-disk.html", "");
    f.project.SetServerRoot(f.dir.path() + "www");
    expectVerdicts(f, {
                          {"/only-on-disk.html", Verdict::Valid},
                          {"/only-on-disk.html#any", Verdict::Valid},
                          {"/index.html", Verdict::Invalid},
                          {"/", Verdict::Invalid},
                      });
}

TEST(CheckLinks, FileUrlsFollowCheckLocalFile)
{
    SiteFixture f;
    writeSite(f);
    const std::string target = f.dir.path() + "outside.html";
    const std::string url = "file://" + target;
    const std::string missing = "file://" + f.dir.path() + "missing.html";
    f.settings.CheckLocalFile = 1;
    expectVerdicts(f, {
                          {url.c_str(), Verdict::Valid},
                          {missing.c_str(), Verdict::Invalid},
                          {"file://host/share/a.html", Verdict::Invalid},
                          {"file://etc/hostname", Verdict::Invalid}, // network path
                          {"file:////etc/hostname", Verdict::Invalid},
                          {"file://///x", Verdict::Invalid},
                      });
    f.settings.CheckLocalFile = -1;
    CheckFolder(f.site, f.dir.path() + "site", false);
    EXPECT_EQ(verdictOf(*f.object("site/page.html"), url), Verdict::Valid);
    f.settings.CheckLocalFile = 0;
    CheckFolder(f.site, f.dir.path() + "site", false);
    EXPECT_EQ(verdictOf(*f.object("site/page.html"), url), Verdict::Invalid);
}

TEST(CheckLinks, UsemapReachesAMapOfTheSamePage)
{
    SiteFixture f;
    f.dir.write("p.html", "<img src=x.gif usemap=#nav><map name=nav></map>");
    f.dir.write("x.gif", "");
    CheckFolder(f.site, f.dir.path(), false);
    const FileObject *page = f.object("p.html");
    EXPECT_EQ(verdictOf(*page, "#nav"), Verdict::Valid);
    EXPECT_EQ(verdictOf(*page, "x.gif"), Verdict::Valid);
}

TEST(CheckLinks, AnEmptyLinkIsSkippedAndTheRestClassified)
{
    SiteFixture f;
    f.dir.write("p.html", "<a href=' spaced.html'>x</a><a href=q.html>y</a><a href=none.html>");
    f.dir.write("q.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    const FileObject *page = f.object("p.html");
    ASSERT_FALSE(page->Links.empty());
    EXPECT_EQ(page->Links[0], "");
    EXPECT_EQ(page->ValidLinks.ToVector(), std::vector<std::string>{"q.html"});
    EXPECT_EQ(page->InvalidLinks.ToVector(), std::vector<std::string>{"none.html"});
}

TEST(CheckLinks, RecheckAfterIgnoreCaseChangeReclassifiesWithoutReading)
{
    SiteFixture f;
    f.dir.write("a.html", "<a href=B.HTML></a>");
    f.dir.write("b.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_EQ(f.object("a.html")->InvalidLinks.size(), 1u);
    f.dir.write("a.html", "changed on disk, not read again");
    f.settings.IgnoreCase = true;
    RecheckLinks(f.site);
    EXPECT_EQ(f.object("a.html")->ValidLinks.ToVector(), std::vector<std::string>{"B.HTML"});
    EXPECT_EQ(f.node("a.html")->ImageIndex(), ImgPageWhite);
}

/// A site whose links browsers follow though the classic rules refuse them.
void writeModernSite(SiteFixture &f)
{
    f.dir.write("site/os.html", "<span id=\"dir-fd\"></span><a name=Named></a>"
                                "<a name=\"caf\xC3\xA9\"></a><p id=\"r\xC3\xA9sum\xC3\xA9\">");
    f.dir.write("site/my page.html", "");
    f.dir.write("site/my%20page.html", "");
    f.dir.write("site/a&b.html", "");
    f.dir.write("site/q?x.html", "");
    f.dir.write("site/sub/b.html", "");
}

TEST(CheckLinks, ModernLinksFollowWhatBrowsersFollow)
{
    const struct
    {
        const char *link;
        Verdict modern;
        Verdict classic;
    } cases[] = {
        {"os.html#dir-fd", Verdict::Valid, Verdict::Invalid},   // an element id
        {"./os.html#DIR-FD", Verdict::Valid, Verdict::Invalid}, // ids compare without case
        {"os.html#named", Verdict::Valid, Verdict::Valid},
        {"os.html#missing", Verdict::Invalid, Verdict::Invalid},
        {"os.html#top", Verdict::Valid, Verdict::Invalid},
        {"#TOP", Verdict::Valid, Verdict::Invalid},
        {"os.html#%74op", Verdict::Valid, Verdict::Invalid},
        {"os.html#caf%C3%A9", Verdict::Valid, Verdict::Invalid},        // a decoded anchor
        {"os.html#r%c3%a9sum%c3%a9", Verdict::Valid, Verdict::Invalid}, // a decoded id
        {"os.html#caf%C3", Verdict::Invalid, Verdict::Invalid},
        {"my%20page.html", Verdict::Valid, Verdict::Valid},     // the literal name first
        {"my%2520page.html", Verdict::Valid, Verdict::Invalid}, // decoded once
        {"a&amp;b.html", Verdict::Valid, Verdict::Invalid},
        {"./a&AMP;b.html", Verdict::Valid, Verdict::Invalid},
        {"q%3Fx.html", Verdict::Valid, Verdict::Invalid},
        {"sub%2Fb.html", Verdict::Invalid, Verdict::Invalid}, // no new separator
        {"sub%5Cb.html", Verdict::Invalid, Verdict::Invalid},
        {"a%26b.html#%zz", Verdict::Invalid, Verdict::Invalid},
        {"a%26b.html", Verdict::Valid, Verdict::Invalid},
        {"nothing%20here.html", Verdict::Invalid, Verdict::Invalid},
    };
    for (const bool modern : {true, false}) {
        SCOPED_TRACE(modern ? "ModernLinks on" : "ModernLinks off");
        SiteFixture f;
        writeModernSite(f);
        f.settings.ModernLinks = modern;
        std::vector<LinkCase> verdicts;
        for (const auto &c : cases)
            verdicts.push_back({c.link, modern ? c.modern : c.classic});
        expectVerdicts(f, verdicts);
        // Ids are no anchors: no node of their own.
        EXPECT_EQ(f.node("os.html")->Count(), 2u);
        const IdSet &ids = f.object("site/os.html")->Targets;
        EXPECT_EQ(ids.size(), 2u);
        EXPECT_TRUE(ids.Contains("dir-fd"));
        EXPECT_TRUE(ids.Contains("R\xC3\xA9SUM\xC3\xA9"));
    }
}

TEST(CheckLinks, ModernLinksDecodeWhatTheDiskDecides)
{
    SiteFixture f;
    writeSite(f);
    f.dir.write("www/on disk.html", "");
    f.dir.write("out side.html", "");
    f.project.SetServerRoot(f.dir.path() + "www");
    f.settings.CheckLocalFile = 1;
    const std::string url = "file://" + f.dir.path() + "out%20side.html";
    expectVerdicts(f, {{"/on%20disk.html", Verdict::Valid},
                       {"/on%2520disk.html", Verdict::Invalid},
                       {url.c_str(), Verdict::Valid}});
    f.settings.ModernLinks = false;
    expectVerdicts(f, {{"/on%20disk.html", Verdict::Invalid}, {url.c_str(), Verdict::Invalid}});
}

TEST(CheckLinks, QuotedRefreshTargetsLoseTheirQuotes)
{
    const struct
    {
        const char *content;
        const char *link; // as stored and shown
        Verdict modern;
        Verdict classic;
    } cases[] = {
        {"0; URL='next.html'", "'next.html'", Verdict::Valid, Verdict::Invalid},
        {"0; URL=\"next.html\"", "\"next.html\"", Verdict::Valid, Verdict::Invalid},
        {"0; URL='next.html", "'next.html", Verdict::Valid, Verdict::Invalid},
        {"0; URL='next.html' x", "'next.html'", Verdict::Valid, Verdict::Invalid},
        {"0; URL='gone.html'", "'gone.html'", Verdict::Invalid, Verdict::Invalid},
        {"0; URL='next.html#top'", "'next.html#top'", Verdict::Valid, Verdict::Invalid},
        {"0; URL=''", "''", Verdict::None, Verdict::Invalid},
    };
    for (const auto &c : cases) {
        for (const bool modern : {true, false}) {
            SiteFixture f;
            f.settings.ModernLinks = modern;
            // Quotes inside the quoted attribute value need the other kind.
            const std::string content = c.content;
            const char quote = content.find('\'') != std::string::npos ? '"' : '\'';
            f.dir.write("p.html", std::string("<meta http-equiv=refresh content=") + quote +
                                      content + quote + ">");
            f.dir.write("next.html", "");
            CheckFolder(f.site, f.dir.path(), false);
            EXPECT_EQ(verdictOf(*f.object("p.html"), c.link), modern ? c.modern : c.classic)
                << c.content << (modern ? " (modern)" : " (classic)");
        }
    }
    // A link of an ordinary attribute that is written in quotes stays as written.
    SiteFixture f;
    f.dir.write("p.html", "<a href=\"'next.html'\">");
    f.dir.write("next.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_EQ(verdictOf(*f.object("p.html"), "'next.html'"), Verdict::Invalid);
}

TEST(CheckLinks, InvalidLinksSayWhy)
{
    SiteFixture f;
    writeSite(f);
    f.dir.write("www/x.html", "");
    f.project.SetServerRoot(f.dir.path() + "www");
    f.dir.write("site/page.html", "<a href=gone.html><a href=index.html#nowhere>"
                                  "<a href=file:///etc/hostname><a href=/gone.html>"
                                  "<a href=sub/index.html#x>");
    CheckFolder(f.site, f.dir.path() + "site", false);
    const FileObject &page = *f.object("site/page.html");
    const std::vector<std::string> invalid = {"/gone.html", "file:///etc/hostname", "gone.html",
                                              "index.html#nowhere", "sub/index.html#x"};
    ASSERT_EQ(page.InvalidLinks.ToVector(), invalid);
    EXPECT_EQ(page.InvalidReasons,
              (std::vector<InvalidReason>{InvalidReason::missingFile, InvalidReason::fileUrl,
                                          InvalidReason::missingFile, InvalidReason::missingAnchor,
                                          InvalidReason::missingAnchor}));
    f.settings.CheckLocalFile = 1;
    RecheckLinks(f.site);
    EXPECT_EQ(page.InvalidReasons[1], InvalidReason::missingFile) << "a file URL that is checked";
}

TEST(CheckLinks, ModernLinksChangeIsReclassifiedAndWalkedAtOnce)
{
    SiteFixture f;
    writeModernSite(f);
    f.dir.write("site/index.html", "<a href=os.html#dir-fd><a href=q%3Fx.html>"
                                   "<a href=a&amp;b.html><a href=os.html#caf%C3%A9>");
    f.project.AddTopFile(f.dir.path() + "site/index.html");
    f.settings.ModernLinks = false;
    CheckFolder(f.site, f.dir.path() + "site", true);
    EXPECT_EQ(f.object("site/index.html")->InvalidLinks.size(), 4u);
    EXPECT_EQ(f.orphans(),
              (std::vector<std::string>{"site/sub/b.html", "site/a&b.html", "site/my page.html",
                                        "site/my%20page.html", "site/os.html", "site/q?x.html"}));

    f.settings.ModernLinks = true;
    RecheckLinks(f.site);
    EXPECT_TRUE(f.object("site/index.html")->InvalidLinks.empty());
    EXPECT_EQ(f.orphans(), (std::vector<std::string>{"site/sub/b.html", "site/my page.html",
                                                     "site/my%20page.html"}));
    // The decoded anchor is referenced; the one no link names is not.
    const TreeNode *os = f.node("os.html");
    const auto anchorState = [os](const std::string &name) {
        for (size_t i = 0; i < os->Count(); ++i)
            if (os->Child(i)->Text() == name)
                return os->Child(i)->StateIndex();
        return -1;
    };
    EXPECT_EQ(anchorState("caf\xC3\xA9"), ImgReached);
    EXPECT_EQ(anchorState("Named"), ImgUnreached);
}

TEST(SplitLink, SeparatesPathAnchorAndQuery)
{
    SiteFixture f;
    f.dir.write("dir/page.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    const FileObject *page = f.object("dir/page.html");
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(page->SplitLink("a.html#x"), P("a.html", "x"));
    EXPECT_EQ(page->SplitLink("#x"), P("page.html", "x"));
    EXPECT_EQ(page->SplitLink("a.cgi?q#frag"), P("a.cgi", "frag"));
    EXPECT_EQ(page->SplitLink("sub/"), P("sub/index.html", ""));
    EXPECT_EQ(page->SplitLink("http:x.html"), P("x.html", ""));
    EXPECT_EQ(page->SplitLink("HTTP:x.html"), P("HTTP:x.html", ""));
    EXPECT_EQ(page->SplitLink("?q"), P("", ""));
    f.settings.DefaultFileName = "default.htm";
    EXPECT_EQ(page->SplitLink("/"), P("/default.htm", ""));

    // Taken apart one after another into the same two strings, as a page's
    // links are: a longer path or an anchor before leaves nothing behind.
    std::string path = "left over";
    std::string anchor = "left over";
    for (const char *link : {"long/path/to/a.html#with-an-anchor", "b.html", "#x", "?q", "sub/#a#b",
                             "http:c.html#", "d.html"}) {
        page->SplitLinkInto(link, path, anchor);
        EXPECT_EQ(P(path, anchor), page->SplitLink(link)) << link;
    }
    EXPECT_EQ(P(path, anchor), P("d.html", ""));
}

} // namespace
} // namespace orvane

namespace orvane {
namespace {

TEST(CheckLinks, PagesOfAnyLengthClassifyEachLinkAsAlone)
{
    // Pages are classified a few links ahead of time; every page length
    // around that distance, with paths that repeat under other fragments
    // between links of other kinds, must give what each link gives alone.
    const std::vector<std::pair<std::string, Verdict>> kinds = {
        {"a.html", Verdict::Valid},           {"a.html#one", Verdict::Valid},
        {"a.html#two", Verdict::Valid},       {"a.html#gone", Verdict::Invalid},
        {"b.html", Verdict::Valid},           {"b.html#x", Verdict::Invalid},
        {"gone.html", Verdict::Invalid},      {"gone.html#x", Verdict::Invalid},
        {"http://e.org/", Verdict::External}, {"mailto:m@e.org", Verdict::External},
        {"sub/c.html", Verdict::Valid},       {"sub/c.html#one", Verdict::Invalid},
        {"#one", Verdict::Invalid},           {"file:///nowhere", Verdict::Invalid},
        {"sub/", Verdict::Invalid},           {"c.html", Verdict::Invalid},
        {"a.html?q=1", Verdict::Valid},       {"/a.html", Verdict::External},
    };
    for (size_t count = 0; count <= kinds.size(); ++count) {
        SiteFixture f;
        f.dir.write("site/a.html", "<a name=one></a><a name=two></a>");
        f.dir.write("site/b.html", "");
        f.dir.write("site/sub/c.html", "");
        std::string html;
        for (size_t k = 0; k < count; ++k)
            html += "<a href=\"" + kinds[k].first + "\">x</a>\n";
        f.dir.write("site/page.html", html);
        CheckFolder(f.site, f.dir.path() + "site", false);
        const FileObject &page = *f.object("site/page.html");
        ASSERT_EQ(page.Links.size(), count);
        for (size_t k = 0; k < count; ++k)
            EXPECT_EQ(verdictOf(page, kinds[k].first), kinds[k].second)
                << kinds[k].first << " in a page of " << count;
        const WalkTargetList *targets = page.WalkTargets(f.site.ResolutionStamp());
        ASSERT_NE(targets, nullptr);
        for (size_t v = 0; v < page.ValidLinks.size(); ++v) {
            const WalkTarget alone = page.ResolveWalkTarget(page.ValidLinks.BaseIndex(v));
            EXPECT_EQ((*targets)[v].object, alone.object) << page.ValidLinks[v];
            EXPECT_EQ((*targets)[v].anchorIndex, alone.anchorIndex) << page.ValidLinks[v];
            EXPECT_EQ((*targets)[v].anchorNode, alone.anchorNode) << page.ValidLinks[v];
        }
    }
}

} // namespace
} // namespace orvane
