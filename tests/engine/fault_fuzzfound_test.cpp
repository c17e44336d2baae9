// Inputs the fuzzers found a fault with, kept as they came (the bytes that
// matter), with what must happen now.
#include "base/urlpath.h"
#include "engine/fileobject.h"
#include "engine/site.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

/// A page object of the given path in a site without a scan.
FileObject *addPage(test::SiteFixture &f, const std::string &path)
{
    TreeNode *node = f.site.tree.AddChild(f.site.tree.Root(), std::string(path));
    FileObject *object = f.site.FileObjects.Create(f.site, node);
    node->SetData(object);
    object->FullPath = path;
    f.site.FileObjects.IndexPath(object);
    return object;
}

TEST(FaultFuzzFound, ALinkToAnAnchorOfAPageWhoseNameHoldsAHash)
{
    // The page's own name stands in for the empty path part of "#name"; a
    // "#" in that name was taken for the start of an anchor and cut off.
    test::SiteFixture f;
    FileObject *page = addPage(f, "/site/\x02page.html#Ti\t");
    page->Anchors.Add("im//a.gif");
    page->Links.Add("#im//a.gif");
    const auto [path, anchor] = page->SplitLink("#im//a.gif");
    EXPECT_EQ(path, "\x02page.html#Ti\t");
    EXPECT_EQ(anchor, "im//a.gif");
    EXPECT_EQ(URLToPath(page->FullPath, path), page->FullPath);
    EXPECT_EQ(f.project.LinkToPath(page->FullPath, path), page->FullPath);
    page->CheckLinks();
    EXPECT_EQ(page->ValidLinks.ToVector(), std::vector<std::string>{"#im//a.gif"});
    EXPECT_TRUE(page->InvalidLinks.empty());
}

TEST(FaultFuzzFound, ALinkToAnAnchorOfAPageWhoseNameHoldsABackslash)
{
    // The page's name stood in for the path, and its "\\" was taken for a
    // separator as in any link. Under the classic rules "#top" must be an
    // anchor of the page; browsers scroll to the top for it anyway.
    test::SiteFixture f;
    f.settings.ModernLinks = false;
    FileObject *page = addPage(f, "/site/a\\b.html");
    addPage(f, "/site/a/b.html");
    page->Anchors.Add("top");
    page->Links.Add("#top");
    page->Links.Add("a\\b.html#top");
    FileObject *other = addPage(f, "/site/other.html");
    other->Links.Add("a\\b.html#top");
    page->CheckLinks();
    other->CheckLinks();
    EXPECT_EQ(page->ValidLinks.ToVector(), (std::vector<std::string>{"#top", "a\\b.html#top"}))
        << "on the page itself its name, written out or not, is the page";
    EXPECT_TRUE(page->InvalidLinks.empty());
    EXPECT_EQ(other->InvalidLinks.ToVector(), std::vector<std::string>{"a\\b.html#top"})
        << "elsewhere the name is read as a browser reads it: a/b.html, without that anchor";
    f.settings.ModernLinks = true;
    other->CheckLinks();
    EXPECT_EQ(other->ValidLinks.ToVector(), std::vector<std::string>{"a\\b.html#top"});
}

} // namespace
} // namespace orvane
