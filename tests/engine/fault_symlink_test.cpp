// Symbolic links that lead back up the tree, to each other or in a circle:
// the scan follows links to folders but never into a folder it is already
// inside, so it ends, and every file is read through each path that reaches
// it without a loop.
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace orvane {
namespace {

using test::SiteFixture;

TEST(FaultSymlink, LoopsEndAndLeaveTheLoopingFolderEmpty)
{
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("index.html", "<a href=a/self/self/x.html>deep</a><a href=b/c/y.html>via</a>");
    f.dir.write("a/x.html", "");
    f.dir.write("b/y.html", "");
    f.dir.write("c/y.html", "");
    ASSERT_EQ(symlink(".", (d + "a/self").c_str()), 0);
    ASSERT_EQ(symlink("..", (d + "a/up").c_str()), 0);
    ASSERT_EQ(symlink(d.c_str(), (d + "a/home").c_str()), 0);
    // Two folders that link to each other.
    ASSERT_EQ(symlink("../c", (d + "b/c").c_str()), 0);
    ASSERT_EQ(symlink("../b", (d + "c/b").c_str()), 0);
    // A circle of links that leads to nothing at all.
    ASSERT_EQ(symlink("l2.gif", (d + "l1.gif").c_str()), 0);
    ASSERT_EQ(symlink("l1.gif", (d + "l2.gif").c_str()), 0);
    f.project.AddTopFile(d + "index.html");
    CheckFolder(f.site, d, true);

    EXPECT_EQ(f.files(),
              (std::vector<std::string>{"a/x.html", "b/c/y.html", "b/y.html", "c/b/y.html",
                                        "c/y.html", "index.html", "l1.gif", "l2.gif"}));
    for (const char *loop : {"a/self", "a/up", "a/home", "b/c/b", "c/b/c"}) {
        ASSERT_NE(f.node(loop), nullptr) << loop;
        EXPECT_EQ(f.node(loop)->Count(), 0u) << loop;
    }
    // The link through the loop names a file the tree does not hold twice.
    EXPECT_EQ(f.object("index.html")->InvalidLinks.ToVector(),
              std::vector<std::string>{"a/self/self/x.html"});
    EXPECT_EQ(f.object("index.html")->ValidLinks.ToVector(),
              std::vector<std::string>{"b/c/y.html"});
    ASSERT_EQ(f.host.messages.size(), 1u) << "only the summary";
}

TEST(FaultSymlink, AFolderLinkedFromTwoPlacesIsShownInBoth)
{
    // Shared pictures linked into a second folder are a common layout; that
    // is no loop, and links into either place are valid.
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("img/a.gif", "");
    f.dir.write("en/index.html", "<img src=img/a.gif><img src=../img/a.gif>");
    ASSERT_EQ(symlink("../img", (d + "en/img").c_str()), 0);
    f.project.AddTopFile(d + "en/index.html");
    CheckFolder(f.site, d, true);
    EXPECT_EQ(f.files(), (std::vector<std::string>{"en/img/a.gif", "en/index.html", "img/a.gif"}));
    EXPECT_EQ(f.object("en/index.html")->ValidLinks.size(), 2u);
    EXPECT_TRUE(f.orphans().empty());
}

} // namespace
} // namespace orvane
