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
}

} // namespace
} // namespace orvane
