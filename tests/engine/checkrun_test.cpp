#include "base/errors.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <chrono>

#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::SiteFixture;

std::vector<std::string> childTexts(const TreeNode *node)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < node->Count(); ++i)
        out.push_back(node->Child(i)->Text());
    return out;
}

TEST(CheckRun, ScanListsFoldersFirstThenFilesInCaseInsensitiveOrder)
{
    SiteFixture f;
    f.dir.write("b.html", "");
    f.dir.write("A.gif", "");
    f.dir.write("c", ""); // no extension: a page
    f.dir.write("Zed/z.txt", "");
    f.dir.write("alpha/x.html", "");
    f.dir.write("alpha/deep/y.PNG", "");
    CheckFolder(f.site, f.dir.path(), false);

    EXPECT_EQ(f.site.tree.Root()->Text(), f.dir.path());
    EXPECT_EQ(childTexts(f.site.tree.Root()),
              (std::vector<std::string>{"alpha", "Zed", "A.gif", "b.html", "c"}));
    EXPECT_EQ(f.files(), (std::vector<std::string>{"alpha/deep/y.PNG", "alpha/x.html", "Zed/z.txt",
                                                   "A.gif", "b.html", "c"}));
    ASSERT_EQ(f.site.FolderNodes.size(), 3u);
    EXPECT_EQ(f.site.FolderNodes[0]->Text(), "alpha");
    EXPECT_EQ(f.site.FolderNodes[1]->Text(), "deep");
    EXPECT_EQ(f.site.FolderNodes[2]->Text(), "Zed");

    EXPECT_EQ(f.object("c")->Kind, FileKind::html);
    EXPECT_EQ(f.object("A.gif")->Kind, FileKind::image);
    EXPECT_EQ(f.object("alpha/deep/y.PNG")->Kind, FileKind::image);
    EXPECT_EQ(f.object("Zed/z.txt")->Kind, FileKind::other);
    EXPECT_EQ(f.host.fileCount, 6);
}

TEST(CheckRun, NodePicturesAfterTheScan)
{
    SiteFixture f;
    f.dir.write("page.html", "<a href=missing.html>x</a>");
    f.dir.write("ok.html", "<a href=page.html>x</a>");
    f.dir.write("pic.gif", "");
    f.dir.write("notes.txt", "");
    f.dir.write("sub/a.html", "");
    CheckFolder(f.site, f.dir.path(), false);

    const TreeNode *folder = f.node("sub");
    EXPECT_EQ(folder->ImageIndex(), ImgFolderCyan);
    EXPECT_EQ(folder->SelectedIndex(), ImgFolderCyanOpen);
    EXPECT_EQ(f.node("page.html")->ImageIndex(), ImgPageBlue);
    EXPECT_EQ(f.node("ok.html")->ImageIndex(), ImgPageWhite);
    EXPECT_EQ(f.node("ok.html")->SelectedIndex(), ImgPageWhite);
    EXPECT_EQ(f.node("pic.gif")->ImageIndex(), ImgPicture);
    EXPECT_EQ(f.node("notes.txt")->ImageIndex(), ImgBlankPage);
    for (const char *file : {"page.html", "ok.html", "pic.gif", "notes.txt"}) {
        EXPECT_EQ(f.node(file)->StateIndex(), ImgUnreached) << file;
        EXPECT_EQ(f.node(file)->OverlayIndex(), NoOverlay) << file;
    }
    EXPECT_TRUE(f.site.tree.Root()->Expanded());
}

TEST(CheckRun, SummaryMessageCountsFilesAndInvalidLinks)
{
    SiteFixture f;
    f.dir.write("a.html", "<a href=x.html></a><img src=y.gif>");
    f.dir.write("b.html", "<a href=z.html></a>");
    f.dir.write("c.html", "<a href=a.html></a>");
    CheckFolder(f.site, f.dir.path(), false);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(f.host.messages[0].text, "無効リンクを含むファイルの数 2\r\n無効リンクの総数 3");
    EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Asterisk});
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(CheckRun, EmptyFolderAndHiddenSummary)
{
    SiteFixture f;
    CheckFolder(f.site, f.dir.path(), false);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "無効リンクを含むファイルの数 0\r\n無効リンクの総数 0");

    SiteFixture quiet;
    quiet.settings.HideInfoBoxAfterCheck = true;
    quiet.dir.write("a.html", "<a href=x.html></a>");
    CheckFolder(quiet.site, quiet.dir.path(), false);
    EXPECT_TRUE(quiet.host.messages.empty());
    EXPECT_EQ(quiet.host.beeps, std::vector<Sound>{Sound::Plain});
    EXPECT_EQ(quiet.site.InvalidLinkTotal, 1);
}

TEST(CheckRun, MissingFolderLeavesTheTreeAsItWas)
{
    SiteFixture f;
    f.dir.write("a.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    f.host.messages.clear();
    CheckFolder(f.site, f.dir.path() + "nothing-here", false);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[0].text,
              "ディレクトリが存在しません\r\n" + f.dir.path() + "nothing-here");
    EXPECT_EQ(f.files(), std::vector<std::string>{"a.html"});
    EXPECT_EQ(f.project.HomeDir(), f.dir.path());

    f.host.messages.clear();
    CheckFolder(f.site, "", false);
    EXPECT_TRUE(f.host.messages.empty()) << "an empty path ends the run silently";
}

TEST(CheckRun, PatternsKeepFilesAndFoldersOutOfTheTree)
{
    SiteFixture f;
    f.dir.write("a.html", "");
    f.dir.write("a.bak", "");
    f.dir.write("OLD.BAK", "");
    f.dir.write("img/x.gif", "");
    f.dir.write("images/y.gif", "");
    f.dir.write("only/skip.bak", "");
    f.project.AddWildCard("*.bak");
    f.project.AddIgnoreFolder(f.dir.path() + "img");
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_EQ(f.files(), (std::vector<std::string>{"images/y.gif", "a.html", "OLD.BAK"}));
    EXPECT_EQ(f.node("img"), nullptr);
    ASSERT_NE(f.node("only"), nullptr) << "a folder of excluded files keeps its node";
    EXPECT_FALSE(f.node("only")->HasChildren());

    f.settings.IgnoreCase = true;
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_EQ(f.files(), (std::vector<std::string>{"images/y.gif", "a.html"}));
}

TEST(CheckRun, NamesEqualWithoutCaseGiveOneNode)
{
    SiteFixture f;
    f.dir.write("page.html", "one");
    f.dir.write("PAGE.html", "two");
    CheckFolder(f.site, f.dir.path(), false);
    ASSERT_EQ(f.site.FileObjects.size(), 1u);
    EXPECT_TRUE(f.files()[0] == "page.html" || f.files()[0] == "PAGE.html");
}

TEST(CheckRun, DuplicateAnchorsGiveOneNodeInAnchorOrder)
{
    SiteFixture f;
    f.dir.write("a.html", "<a name=Top></a><a name=top></a><map name=nav></map><a name=end>");
    CheckFolder(f.site, f.dir.path(), false);
    const TreeNode *page = f.node("a.html");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(childTexts(page), (std::vector<std::string>{"end", "nav", "Top"}));
    for (size_t i = 0; i < page->Count(); ++i) {
        EXPECT_EQ(page->Child(i)->ImageIndex(), ImgAnchor);
        EXPECT_EQ(page->Child(i)->StateIndex(), ImgUnreached);
        EXPECT_EQ(page->Child(i)->Data(), nullptr);
    }
}

TEST(CheckRun, HaltDuringTheScanLeavesAPartialTreeAndStillSummarises)
{
    SiteFixture f;
    for (int i = 0; i < 50; ++i)
        f.dir.write("f" + std::to_string(100 + i) + ".gif", "");
    f.host.onProcessEvents = [&](long calls) {
        if (calls == 70)
            f.site.HaltRequested = true;
    };
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_GT(f.site.FileObjects.size(), 0u);
    EXPECT_LT(f.site.FileObjects.size(), 50u);
    EXPECT_EQ(f.host.messages.size(), 1u) << "the summary box comes even after a halt";
    EXPECT_FALSE(f.site.HaltRequested) << "the outermost EndBusy clears the halt";
}

TEST(CheckRun, SymbolicLinksLoopsAndUnreadableFolders)
{
    SiteFixture f;
    f.dir.write("site/index.html", "");
    f.dir.write("outside/o.html", "");
    const std::string site = f.dir.path() + "site/";
    ASSERT_EQ(symlink("..", (site + "up").c_str()), 0);
    ASSERT_EQ(symlink(".", (site + "self").c_str()), 0);
    ASSERT_EQ(symlink("index.html", (site + "alias.html").c_str()), 0);
    ASSERT_EQ(symlink("gone.html", (site + "broken.html").c_str()), 0);
    CheckFolder(f.site, site, false);
    // "up" leads to the folder above the site and "self" to the site itself:
    // both lead back into the site and stay empty.
    ASSERT_NE(f.node("up"), nullptr);
    EXPECT_FALSE(f.node("up")->HasChildren());
    ASSERT_NE(f.node("self"), nullptr);
    EXPECT_FALSE(f.node("self")->HasChildren());
    EXPECT_NE(f.node("alias.html"), nullptr);
    EXPECT_NE(f.node("broken.html"), nullptr) << "a broken link is listed as a file";

    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root from listing a folder";
    f.dir.write("site/locked/a.html", "");
    chmod((site + "locked").c_str(), 0);
    CheckFolder(f.site, site, false);
    ASSERT_NE(f.node("locked"), nullptr);
    EXPECT_FALSE(f.node("locked")->HasChildren());
    chmod((site + "locked").c_str(), 0755);
}

TEST(CheckRun, OpenFolderStartsAfreshButKeepsPatternsAndServerRoot)
{
    SiteFixture f;
    f.dir.write("a.html", "");
    f.dir.write("a.bak", "");
    f.project.AddTopFile(f.dir.path() + "a.html");
    f.project.AddIgnoreFile(f.dir.path() + "b.html");
    f.project.AddWildCard("*.bak");
    f.project.SetServerRoot("/srv/www");
    f.project.SetFileName("/tmp/old.ovp");
    OpenFolder(f.site, f.dir.path());
    EXPECT_TRUE(f.project.TopFiles().empty());
    EXPECT_TRUE(f.project.IgnoreFiles().empty());
    EXPECT_EQ(f.project.WildCards(), std::vector<std::string>{"*.bak"});
    EXPECT_EQ(f.project.ServerRoot(), "/srv/www/");
    EXPECT_EQ(f.project.FileName(), "");
    EXPECT_EQ(f.view.mainTitle, "untitled - Orvane");
    EXPECT_EQ(f.host.status, "トップページを指定してください");
    EXPECT_EQ(f.orphans(), std::vector<std::string>{"a.html"}) << "no analysis without top pages";
    EXPECT_TRUE(f.host.reopenEnabled);
}

TEST(CheckRun, ShowLinkListsFillsTheThreeListsOfAPage)
{
    SiteFixture f;
    f.dir.write("a.html", "<a href=b.html></a><a href=nope.html></a><a href=http://x.org/></a>"
                          "<a href=B.HTML></a>");
    f.dir.write("b.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    ShowLinkLists(f.site, f.node("a.html"));
    EXPECT_EQ(f.host.validLinks, std::vector<std::string>{"b.html"});
    EXPECT_EQ(f.host.invalidLinks, std::vector<std::string>{"nope.html"});
    EXPECT_EQ(f.host.externalLinks, std::vector<std::string>{"http://x.org/"});
    ShowLinkLists(f.site, f.node("b.html"));
    EXPECT_TRUE(f.host.validLinks.empty());
    ShowLinkLists(f.site, f.site.tree.Root());
    EXPECT_TRUE(f.host.invalidLinks.empty());
}

TEST(CheckRun, BusyProtocolNestsAndReportsReopen)
{
    SiteFixture f;
    f.site.BeginBusy();
    f.site.BeginBusy();
    f.site.HaltRequested = true;
    f.site.EndBusy();
    EXPECT_TRUE(f.site.HaltRequested) << "a halt lasts until the outermost command ends";
    EXPECT_EQ(f.host.leaveBusyCalls, 0);
    f.site.EndBusy();
    EXPECT_FALSE(f.site.HaltRequested);
    EXPECT_EQ(f.host.leaveBusyCalls, 1);
    EXPECT_FALSE(f.host.reopenEnabled) << "no home folder yet";
    EXPECT_EQ(f.host.enterBusyCalls, 2);
    EXPECT_THROW(f.site.EndBusy(), EAssertionFailed);
    EXPECT_EQ(f.site.BusyCount, 0);
    try {
        f.site.EndBusy();
    } catch (const EAssertionFailed &e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Assertion failure (mainform, "));
    }
}

} // namespace
} // namespace orvane

namespace orvane {
namespace {

TEST(CheckRun, RelativeOrUnexpandedHomeFoldersStillResolveLinks)
{
    test::SiteFixture f;
    f.dir.write("site/index.html", "<a href=a.html></a>");
    f.dir.write("site/a.html", "");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(f.dir.path().c_str()), 0);
    CheckFolder(f.site, "site", false);
    const std::string relativeHome = f.project.HomeDir();
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_EQ(relativeHome, f.dir.path() + "site/");
    EXPECT_EQ(f.site.InvalidLinkTotal, 0);

    CheckFolder(f.site, f.dir.path() + "site/../site/./", false);
    EXPECT_EQ(f.project.HomeDir(), f.dir.path() + "site/");
    EXPECT_EQ(f.site.InvalidLinkTotal, 0);
    EXPECT_EQ(f.object("site/a.html")->Kind, FileKind::html);
}

TEST(CheckAllLinks, BatchesFollowTheTimeTheyTake)
{
    using std::chrono::milliseconds;
    const milliseconds aim(6);
    EXPECT_EQ(NextBatchLinks(20000, milliseconds(13), aim), 10000u) << "too long: halved";
    EXPECT_EQ(NextBatchLinks(20000, milliseconds(2), aim), 40000u) << "short: doubled";
    EXPECT_EQ(NextBatchLinks(20000, milliseconds(4), aim), 20000u) << "about right: kept";
    EXPECT_EQ(NextBatchLinks(1500, milliseconds(50), aim), 1000u) << "never below the fewest";
    EXPECT_EQ(NextBatchLinks(60000, milliseconds(0), aim), 80000u) << "never beyond the most";
    // From any start, a steady cost a link settles within reach of the aim.
    size_t links = 20000;
    for (int batch = 0; batch < 20; ++batch)
        links = NextBatchLinks(links, std::chrono::microseconds(links), aim); // 1 us a link
    EXPECT_GE(links, 3000u);
    EXPECT_LE(links, 6000u);
}

} // namespace
} // namespace orvane
