#include "commands/treecommands.h"

#include "base/errors.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/reachability.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace orvane {
namespace {

using test::SiteFixture;

/// A small site, opened as a dropped folder (no analysis, no top page).
struct TreeCommandSite : SiteFixture
{
    TreeCommandSite()
    {
        dir.write("index.html", "<a href=a.html></a><a href=sub/b.html#x></a><img src=pic.gif>");
        dir.write("a.html", "");
        dir.write("orphan.html", "");
        dir.write("pic.gif", "");
        dir.write("noext", "");
        dir.write("sub/b.html", "<a name=x></a><a name=y></a>");
        dir.write("sub/c.GIF", "");
        dir.write("sub/noext", "");
        dir.write("sub/deep/d.txt", "");
        dir.write("sub/deep/INDEX.HTML", "");
        OpenFolder(site, dir.path());
        forgetHostRecords();
    }

    void forgetHostRecords()
    {
        host.messages.clear();
        host.beeps.clear();
    }

    std::string path(const std::string &relative) const { return dir.path() + relative; }
    bool isTop(const std::string &relative) const
    {
        return project.IndexOfTopFile(path(relative)) != -1;
    }
    bool isIgnoreFile(const std::string &relative) const
    {
        return project.IsIgnoreFile(path(relative));
    }
    std::vector<std::string> excluded() const
    {
        std::vector<std::string> out;
        for (size_t i = 0; i < site.FileObjects.size(); ++i)
            if (site.FileObjects[i]->Ignored)
                out.push_back(site.FileObjects[i]->FullPath.substr(dir.path().size()));
        return out;
    }
    void select(const std::string &relative)
    {
        TreeNode *n = relative.empty() ? nullptr : node(relative);
        ASSERT_TRUE(relative.empty() || n) << relative;
        site.tree.Select(n);
    }
    void selectRoot() { site.tree.Select(site.tree.Root()); }
};

std::string enabledItems(const TreeMenuState &m)
{
    std::string out;
    auto add = [&out](bool on, const char *name) {
        if (on)
            out += out.empty() ? name : std::string(" ") + name;
    };
    add(m.OpenWithExternalApp, "open");
    add(m.OpenWithBrowser, "browser");
    add(m.MarkTop, "top");
    add(m.IgnoreItem, "ignore");
    add(m.BulkIgnoreItem, "bulk");
    add(m.DeleteItem, "delete");
    add(m.UnMarkTopAll, "unmarkall");
    add(m.expandAllNodeItem, "expand");
    add(m.collapseAllNodeItem, "collapse");
    add(m.ShowProjectWindow, "project");
    return out;
}

TEST(TreeMenu, BeforeTheFirstOpeningEverythingIsEnabledWithDesignCaptions)
{
    const TreeMenuState menu;
    EXPECT_EQ(enabledItems(menu),
              "open browser top ignore bulk delete unmarkall expand collapse project");
    EXPECT_EQ(menu.MarkTopText, "TOPページにする");
    EXPECT_EQ(menu.IgnoreItemText, "チェック対象から外す");
}

TEST(TreeMenu, EnablingAndCaptionsRowByRow)
{
    TreeCommandSite f;
    f.project.AddTopFile(f.path("index.html"));
    f.object("orphan.html")->SetIgnored(true);

    const std::string general = "unmarkall expand collapse project";
    const std::string unchanged = "(unchanged)";
    struct Row
    {
        const char *name;
        bool busy;
        const char *node; // "" none, "/" the root
        std::string enabled;
        std::string markTopText;
        std::string ignoreText;
    };
    const Row rows[] = {
        {"busy", true, "a.html", "", unchanged, unchanged},
        {"no selection", false, "", general, unchanged, unchanged},
        {"root", false, "/", general, unchanged, unchanged},
        {"folder", false, "sub", "ignore delete " + general, unchanged,
         "このフォルダ以下をチェック対象から外す"},
        {"anchor", false, "sub/b.html/x", "ignore delete " + general, unchanged,
         "このフォルダ以下をチェック対象から外す"},
        {"html", false, "a.html", "open browser top ignore bulk delete " + general,
         "TOPページにする", "チェック対象から外す"},
        {"top page", false, "index.html", "open browser top ignore bulk delete " + general,
         "TOPマークを消す", "チェック対象から外す"},
        {"excluded html", false, "orphan.html", "open browser top ignore bulk delete " + general,
         "TOPページにする", "再びチェック対象にする"},
        {"image", false, "sub/c.GIF", "open browser ignore bulk delete " + general, unchanged,
         "チェック対象から外す"},
        {"other", false, "sub/deep/d.txt", "browser ignore bulk delete " + general, unchanged,
         "チェック対象から外す"},
        {"page without extension", false, "noext", "open browser top ignore bulk delete " + general,
         "TOPページにする", "チェック対象から外す"},
    };
    for (const Row &row : rows) {
        TreeMenuState previous;
        previous.MarkTopText = "previous top";
        previous.IgnoreItemText = "previous ignore";
        const std::string where = row.node;
        const TreeNode *node = where.empty()  ? nullptr
                               : where == "/" ? f.site.tree.Root()
                                              : f.node(where);
        ASSERT_TRUE(where.empty() || node) << row.name;
        const TreeMenuState menu = TreeMenuStateFor(previous, row.busy, node, f.project);
        EXPECT_EQ(enabledItems(menu), row.enabled) << row.name;
        EXPECT_EQ(menu.MarkTopText, row.markTopText == unchanged ? "previous top" : row.markTopText)
            << row.name;
        EXPECT_EQ(menu.IgnoreItemText,
                  row.ignoreText == unchanged ? "previous ignore" : row.ignoreText)
            << row.name;
    }
}

TEST(TreeCommands, MarkTopMarksAPageAndAnalysesUnmarkKeepsTheMarks)
{
    TreeCommandSite f;
    f.select("index.html");
    MarkTopClick(f.site, MarkTopCaption);
    EXPECT_TRUE(f.isTop("index.html"));
    EXPECT_EQ(f.object("index.html")->ReachState, ReachState::top);
    EXPECT_EQ(f.object("a.html")->ReachState, ReachState::reached);
    EXPECT_EQ(f.node("sub/b.html/x")->StateIndex(), ImgReached);
    EXPECT_EQ(f.node("sub/b.html/y")->StateIndex(), ImgUnreached);
    EXPECT_EQ(f.orphans(),
              (std::vector<std::string>{"sub/deep/d.txt", "sub/deep/INDEX.HTML", "sub/c.GIF",
                                        "sub/noext", "noext", "orphan.html"}));
    EXPECT_EQ(f.site.BusyCount, 0);

    f.select("index.html");
    MarkTopClick(f.site, UnmarkTopCaption);
    EXPECT_FALSE(f.isTop("index.html"));
    EXPECT_EQ(f.object("index.html")->ReachState, ReachState::reached);
    EXPECT_EQ(f.node("index.html")->StateIndex(), ImgReached);
    EXPECT_EQ(f.object("a.html")->ReachState, ReachState::reached)
        << "files reached from the former top page keep their marks";
    EXPECT_TRUE(f.host.beeps.empty());
}

TEST(TreeCommands, MarkTopDoesNothingOnOtherKindsAndBeepsWithoutAFile)
{
    TreeCommandSite f;
    f.select("pic.gif"); // possible through Ctrl+T with a stale enabled item
    MarkTopClick(f.site, MarkTopCaption);
    EXPECT_TRUE(f.project.TopFiles().empty());
    EXPECT_EQ(f.object("pic.gif")->ReachState, ReachState::unreached);
    EXPECT_TRUE(f.host.beeps.empty());

    for (const char *where : {"", "sub", "sub/b.html/x"}) {
        f.forgetHostRecords();
        f.select(where);
        MarkTopClick(f.site, MarkTopCaption);
        EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Beep}) << where;
    }
    f.selectRoot();
    f.forgetHostRecords();
    MarkTopClick(f.site, UnmarkTopCaption);
    EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Beep});
    EXPECT_TRUE(f.project.TopFiles().empty());
}

TEST(TreeCommands, UnMarkTopAllResetsMarksAndAnalysesAgain)
{
    TreeCommandSite f;
    f.object("orphan.html")->SetIgnored(true);
    f.select("index.html");
    MarkTopClick(f.site, MarkTopCaption);
    ASSERT_EQ(f.node("sub/b.html/x")->StateIndex(), ImgReached);

    f.host.recordStatusHistory = true;
    UnMarkTopAllClick(f.site);
    EXPECT_TRUE(f.project.TopFiles().empty());
    EXPECT_EQ(f.host.statusHistory.front(), "TOPマークの削除中");
    EXPECT_EQ(f.host.status, "");
    EXPECT_EQ(f.node("sub/b.html/x")->StateIndex(), ImgUnreached);
    EXPECT_EQ(f.object("index.html")->ReachState, ReachState::unreached);
    EXPECT_EQ(f.object("a.html")->ReachState, ReachState::unreached);
    EXPECT_TRUE(f.object("orphan.html")->Ignored) << "the analysis applies the exclusions again";
    EXPECT_EQ(f.object("orphan.html")->ReachState, ReachState::reached);
    EXPECT_EQ(f.node("sub")->ImageIndex(), ImgFolderCyan);
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(TreeCommands, UnMarkTopAllClearsTheTopPagesEvenAfterAHalt)
{
    TreeCommandSite f;
    f.select("index.html");
    MarkTopClick(f.site, MarkTopCaption);
    f.host.onProcessEvents = [&f](long) { f.site.HaltRequested = true; };
    UnMarkTopAllClick(f.site);
    EXPECT_TRUE(f.project.TopFiles().empty());
    EXPECT_EQ(f.object("index.html")->ReachState, ReachState::top) << "the loop stopped";
    EXPECT_EQ(f.object("a.html")->ReachState, ReachState::reached);
    EXPECT_FALSE(f.site.HaltRequested);
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(TreeCommands, IgnoreItemTogglesAFileAndExcludesAWholeFolder)
{
    TreeCommandSite f;
    f.project.AddTopFile(f.path("a.html"));
    f.select("a.html");
    IgnoreItemClick(f.site);
    EXPECT_EQ(f.node("a.html")->OverlayIndex(), OverlayExcluded);
    EXPECT_TRUE(f.isIgnoreFile("a.html"));
    EXPECT_FALSE(f.isTop("a.html"));
    EXPECT_EQ(f.object("a.html")->ReachState, ReachState::reached);

    IgnoreItemClick(f.site);
    EXPECT_EQ(f.node("a.html")->OverlayIndex(), NoOverlay);
    EXPECT_FALSE(f.object("a.html")->Ignored);
    EXPECT_FALSE(f.isIgnoreFile("a.html"));
    EXPECT_EQ(f.object("a.html")->ReachState, ReachState::reached)
        << "including again leaves the reached mark of the exclusion";

    f.object("sub/noext")->SetIgnored(true); // already excluded stays excluded
    f.select("sub");
    IgnoreItemClick(f.site);
    EXPECT_EQ(f.excluded(), (std::vector<std::string>{"sub/deep/d.txt", "sub/deep/INDEX.HTML",
                                                      "sub/b.html", "sub/c.GIF", "sub/noext"}));
    EXPECT_EQ(f.project.IgnoreFiles().size(), 5u);
    EXPECT_EQ(f.view.ignoreFiles.items().size(), 5u);

    const size_t before = f.project.IgnoreFiles().size();
    f.select("");
    IgnoreItemClick(f.site);
    f.select("sub/b.html/y");
    IgnoreItemClick(f.site);
    EXPECT_EQ(f.project.IgnoreFiles().size(), before);
}

TEST(TreeCommands, IgnoreFolderFilesAssertsOnAFileNode)
{
    TreeCommandSite f;
    try {
        IgnoreFolderFiles(f.site, f.node("a.html"));
        FAIL() << "no assertion";
    } catch (const EAssertionFailed &e) {
        EXPECT_NE(std::string(e.what()).find("mainform"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(f.excluded().empty());
}

TEST(TreeCommands, SameNameAndSameExtensionExcludeAcrossTheTree)
{
    {
        TreeCommandSite f;
        f.select("index.html");
        SameNameIgnoreItemClick(f.site);
        EXPECT_EQ(f.excluded(), (std::vector<std::string>{"sub/deep/INDEX.HTML", "index.html"}));
    }
    {
        TreeCommandSite f;
        f.select("pic.gif");
        SameExtIgnoreItemClick(f.site);
        EXPECT_EQ(f.excluded(), (std::vector<std::string>{"sub/c.GIF", "pic.gif"}));
    }
    {
        TreeCommandSite f;
        f.select("noext");
        SameExtIgnoreItemClick(f.site);
        EXPECT_EQ(f.excluded(), (std::vector<std::string>{"sub/noext", "noext"}))
            << "a name without a dot matches every name without one";
    }
    for (const char *where : {"", "sub"}) {
        TreeCommandSite f;
        f.select(where);
        EXPECT_THROW(SameNameIgnoreItemClick(f.site), EAssertionFailed) << where;
        EXPECT_THROW(SameExtIgnoreItemClick(f.site), EAssertionFailed) << where;
        EXPECT_TRUE(f.excluded().empty());
    }
}

TEST(TreeCommands, DeleteFileAsksThenRemovesFileObjectNodeAndProjectEntries)
{
    TreeCommandSite f;
    f.select("sub/b.html");
    f.project.AddTopFile(f.path("sub/b.html"));
    const size_t nodes = f.site.tree.Count();
    const size_t objects = f.site.FileObjects.size();

    f.host.answers = {false};
    DeleteItemClick(f.site);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(f.host.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(f.host.messages[0].text, "'b.html'を削除します\r\nよろしいですか？\r\n\r\n"
                                       "残るページからのリンク 1 個が切れます:\r\n  index.html")
        << "index.html links to the page";
    EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Question});
    EXPECT_EQ(access(f.path("sub/b.html").c_str(), F_OK), 0);
    EXPECT_EQ(f.site.tree.Count(), nodes);

    f.forgetHostRecords();
    DeleteItemClick(f.site);
    EXPECT_EQ(f.host.messages.size(), 1u) << "only the question";
    EXPECT_NE(access(f.path("sub/b.html").c_str(), F_OK), 0);
    EXPECT_EQ(f.node("sub/b.html"), nullptr);
    EXPECT_EQ(f.site.tree.Count(), nodes - 3) << "the anchor nodes go with the page";
    EXPECT_EQ(f.site.FileObjects.size(), objects - 1);
    EXPECT_EQ(f.object("sub/b.html"), nullptr);
    EXPECT_TRUE(f.project.TopFiles().empty());
    EXPECT_TRUE(f.view.topFiles.items().empty());
    EXPECT_EQ(f.site.tree.Selected(), nullptr);
}

TEST(TreeCommands, DeleteConfirmationCountsLinksFromPagesThatStay)
{
    SiteFixture f;
    f.dir.write("gone/a.html", "<a name=x></a><a href=b.gif>inside</a><a href=../p0.html>out</a>");
    f.dir.write("gone/b.gif", "");
    for (int i = 0; i < 7; ++i)
        f.dir.write("p" + std::to_string(i) + ".html",
                    "<a href=gone/a.html>a</a> <a href=gone/a.html#x>x</a> <img src=gone/b.gif>");
    f.dir.write("lone.gif", "");
    OpenFolder(f.site, f.dir.path());
    f.host.messages.clear();
    f.host.answers = {false, false, false};

    f.site.tree.Select(f.node("gone"));
    DeleteItemClick(f.site);
    ASSERT_EQ(f.host.messages.size(), 1u);
    const std::string &text = f.host.messages[0].text;
    EXPECT_EQ(text.substr(0, text.find("\r\n  ")),
              "フォルダ'gone'を削除します\r\nよろしいですか？\r\n\r\n"
              "残るページからのリンク 21 個が切れます:")
        << "three links of seven pages; gone/a.html's own image goes with it";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + 5 + 1) << text;
    EXPECT_NE(text.find("\r\n  p"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\nほか 2 ページ")) << text;

    f.site.tree.Select(f.node("lone.gif"));
    DeleteItemClick(f.site);
    EXPECT_EQ(f.host.messages.back().text, "'lone.gif'を削除します\r\nよろしいですか？")
        << "nothing links to it: the question alone";

    f.site.tree.Select(f.node("p0.html"));
    DeleteItemClick(f.site);
    EXPECT_EQ(f.host.messages.back().text,
              "'p0.html'を削除します\r\nよろしいですか？\r\n\r\n"
              "残るページからのリンク 1 個が切れます:\r\n  gone/a.html");
    EXPECT_NE(f.node("p0.html"), nullptr) << "cancelled";
}

TEST(TreeCommands, DeleteFileFailureKeepsEverything)
{
    TreeCommandSite f;
    f.object("a.html")->SetIgnored(true);
    ASSERT_EQ(unlink(f.path("a.html").c_str()), 0); // gone behind the program's back
    f.select("a.html");
    DeleteItemClick(f.site);
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[1].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[1].text, "ファイルを削除できませんでした");
    EXPECT_NE(f.node("a.html"), nullptr);
    EXPECT_NE(f.object("a.html"), nullptr);
    EXPECT_TRUE(f.isIgnoreFile("a.html"));
}

TEST(TreeCommands, DeleteFolderRemovesEverythingBelowFromDiskTreeAndLists)
{
    TreeCommandSite f;
    f.project.AddTopFile(f.path("sub/b.html"));
    f.object("sub/deep/d.txt")->SetIgnored(true);
    ASSERT_EQ(chmod(f.path("sub/deep/INDEX.HTML").c_str(), 0444), 0);
    ASSERT_EQ(chmod(f.path("sub/deep").c_str(), 0555), 0);
    const size_t objects = f.site.FileObjects.size();
    ASSERT_EQ(f.site.FolderNodes.size(), 2u);

    f.select("sub");
    DeleteItemClick(f.site);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "フォルダ'sub'を削除します\r\nよろしいですか？\r\n\r\n"
                                       "残るページからのリンク 1 個が切れます:\r\n  index.html");
    EXPECT_EQ(f.host.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Question});
    EXPECT_NE(access(f.path("sub").c_str(), F_OK), 0) << "read-only entries go too";
    EXPECT_EQ(f.node("sub"), nullptr);
    EXPECT_TRUE(f.site.FolderNodes.empty());
    EXPECT_EQ(f.site.FileObjects.size(), objects - 5);
    for (const std::string &file : f.files())
        EXPECT_NE(file.rfind("sub/", 0), 0u) << file;
    EXPECT_TRUE(f.project.TopFiles().empty()) << "a top page inside the folder is forgotten";
    EXPECT_TRUE(f.project.IgnoreFiles().empty());
    EXPECT_TRUE(f.view.ignoreFiles.items().empty());
    EXPECT_NE(f.node("index.html"), nullptr);
    EXPECT_EQ(access(f.path("index.html").c_str(), F_OK), 0);
}

TEST(TreeCommands, DeleteFolderCancelledOrFailedChangesNothing)
{
    TreeCommandSite f;
    EXPECT_EQ(FolderNodePath(f.node("sub/deep"), f.project.HomeDir()), f.path("sub/deep/"));

    f.select("sub/deep");
    f.host.answers = {false};
    DeleteItemClick(f.site);
    EXPECT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(access(f.path("sub/deep/d.txt").c_str(), F_OK), 0);

    // Gone from disk meanwhile: the deletion fails and the tree stays.
    f.forgetHostRecords();
    ASSERT_EQ(unlink(f.path("sub/deep/d.txt").c_str()), 0);
    ASSERT_EQ(unlink(f.path("sub/deep/INDEX.HTML").c_str()), 0);
    ASSERT_EQ(rmdir(f.path("sub/deep").c_str()), 0);
    const size_t objects = f.site.FileObjects.size();
    DeleteItemClick(f.site);
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[1].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[1].text, f.path("sub/deep/") + "\r\nの削除に失敗しました");
    EXPECT_NE(f.node("sub/deep"), nullptr);
    EXPECT_EQ(f.site.FolderNodes.size(), 2u);
    EXPECT_EQ(f.site.FileObjects.size(), objects);
}

TEST(TreeCommands, DeletingAnAnchorNodeFailsAndKeepsThePage)
{
    TreeCommandSite f;
    f.select("sub/b.html/x");
    DeleteItemClick(f.site);
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[0].text, "フォルダ'x'を削除します\r\nよろしいですか？");
    EXPECT_EQ(f.host.messages[1].text, f.path("sub/b.html/x/") + "\r\nの削除に失敗しました");
    EXPECT_EQ(access(f.path("sub/b.html").c_str(), F_OK), 0);
    EXPECT_NE(f.node("sub/b.html/x"), nullptr);
}

TEST(TreeCommands, DeleteOnTheRootOrWithoutSelection)
{
    TreeCommandSite f;
    f.selectRoot();
    DeleteItemClick(f.site);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[0].text, "指定したアイテムは削除できません");
    EXPECT_TRUE(f.host.beeps.empty());

    f.forgetHostRecords();
    f.select("");
    DeleteItemClick(f.site);
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_EQ(access(f.path("index.html").c_str(), F_OK), 0);
}

TEST(TreeCommands, DoubleClickDecision)
{
    TreeCommandSite f;
    struct Row
    {
        const char *node;
        bool shift;
        DoubleClickAction action;
    };
    const Row rows[] = {
        {"", false, DoubleClickAction::None},
        {"/", true, DoubleClickAction::None},
        {"sub", true, DoubleClickAction::None},
        {"sub/b.html/x", false, DoubleClickAction::None},
        {"a.html", false, DoubleClickAction::Open},
        {"pic.gif", false, DoubleClickAction::Open},
        {"sub/deep/d.txt", false, DoubleClickAction::Beep},
        {"sub/deep/d.txt", true, DoubleClickAction::Browser},
        {"a.html", true, DoubleClickAction::Browser},
        {"pic.gif", true, DoubleClickAction::Browser},
    };
    for (const Row &row : rows) {
        const std::string where = row.node;
        const TreeNode *node = where.empty()  ? nullptr
                               : where == "/" ? f.site.tree.Root()
                                              : f.node(where);
        EXPECT_EQ(DoubleClickActionFor(node, row.shift), row.action) << where << " " << row.shift;
    }
}

struct BracketCounter : TreeObserver
{
    int begins = 0;
    int ends = 0;
    int expandNotices = 0;
    void beginUpdate() override { ++begins; }
    void endUpdate() override { ++ends; }
    void expandedChanged(TreeNode *) override { ++expandNotices; }
};

TEST(TreeCommands, ExpandAndCollapseEveryNodeInOneBracket)
{
    TreeCommandSite f;
    BracketCounter counter;
    f.site.tree.SetObserver(&counter);
    auto all = [&f](bool expanded) {
        bool same = f.site.tree.Root()->Expanded() == expanded;
        FileTree::ForEachDescendant(f.site.tree.Root(),
                                    [&](TreeNode *n) { same = same && n->Expanded() == expanded; });
        return same;
    };
    expandAllNodeItemClick(f.site.tree);
    EXPECT_TRUE(all(true));
    collapseAllNodeItemClick(f.site.tree);
    EXPECT_TRUE(all(false));
    EXPECT_EQ(counter.begins, 2);
    EXPECT_EQ(counter.ends, 2);
    EXPECT_EQ(counter.expandNotices, 0) << "the view refreshes once per bracket";
    f.site.tree.SetObserver(nullptr);
}

} // namespace
} // namespace orvane
