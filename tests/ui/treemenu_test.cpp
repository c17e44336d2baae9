#include "base/strutil.h"
#include "engine/fileobject.h"
#include "engine/site.h"
#include "project/project.h"
#include "settings/settings.h"
#include "ui/filetreemodel.h"
#include "ui/filetreeview.h"
#include "ui/mainwindow.h"
#include "ui/projectwindow.h"
#include "ui/treemenu.h"
#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace orvane {
namespace {

using test::FormFixture;

/// The sample site plus a file of kind other, opened in the window.
struct SiteFixture : FormFixture
{
    SiteFixture()
    {
        dir.write("site/notes.txt", "plain");
        home = writeSite();
        form->DropFiles({home});
        form->host().setBeepListener([this](Sound sound) { sounds.push_back(sound); });
    }

    TreeMenu &menu() const { return *form->treeMenuItems; }

    /// Shows the window alone and gives the tree the keyboard focus, so its
    /// keys reach it as the user's would.
    bool focusTree()
    {
        form->projectWindow->hide();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return false;
        QApplication::setActiveWindow(form.get());
        form->siteTree->setFocus();
        test::processPendingEvents();
        return QApplication::focusWidget() == form->siteTree;
    }

    /// Selects the node at path ("" for none, "/" for the root) and opens the
    /// tree menu as a right click would, then closes it again.
    void openMenuOn(const std::string &path)
    {
        TreeNode *target = path.empty()  ? nullptr
                           : path == "/" ? form->site().tree.Root()
                                         : node(path);
        if (!path.empty() && path != "/") {
            ASSERT_NE(target, nullptr) << path;
        }
        form->site().tree.Select(target);
        openMenu();
    }
    void openMenu()
    {
        form->treeMenu->popup(QPoint(10, 10));
        test::processPendingEvents();
        form->treeMenu->hide();
    }
    /// Runs an item as a click on it in the menu would.
    void choose(QAction *item)
    {
        item->trigger();
        test::processPendingEvents();
    }
    FileObject *file(const std::string &path) const
    {
        TreeNode *n = node(path);
        return n ? n->Data() : nullptr;
    }
    const Project &project() const { return *form->project; }
    bool isTop(const std::string &path) const
    {
        return project().IndexOfTopFile(home + path) != -1;
    }

    std::string home;
    std::vector<Sound> sounds;
};

/// The enabled items of the menu, as one letter each in display order:
/// o(pen) b(rowser) t(op) i(gnore) m(bulk) d(elete) u(nmark all) e(xpand)
/// c(ollapse) p(roject window).
std::string enabledItems(const TreeMenu &m)
{
    const std::pair<QAction *, char> items[] = {
        {m.OpenWithExternalApp, 'o'}, {m.OpenWithBrowser, 'b'},   {m.MarkTop, 't'},
        {m.IgnoreItem, 'i'},          {m.BulkIgnoreItem, 'm'},    {m.DeleteItem, 'd'},
        {m.UnMarkTopAll, 'u'},        {m.expandAllNodeItem, 'e'}, {m.collapseAllNodeItem, 'c'},
        {m.ShowProjectWindow, 'p'},
    };
    std::string result;
    for (const auto &[action, letter] : items)
        result += action->isEnabled() ? letter : '-';
    return result;
}

TEST(TreeMenu, ItemsCaptionsAndKeysAsDesigned)
{
    SiteFixture f;
    const TreeMenu &m = f.menu();
    QStringList captions;
    for (const QAction *action : f.form->treeMenu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(
        captions,
        QStringList({"開く", "ブラウザーで開く", "-", "TOPページにする", "チェック対象から外す",
                     "まとめてチェック対象から外す", "削除...", "-", "すべてのTOPマークを消す",
                     "全ノードを展開する", "全ノードを縮小する", "プロジェクト情報を表示"}));
    EXPECT_EQ(m.BulkIgnoreItem->menu()->actions(),
              QList<QAction *>({m.SameNameIgnoreItem, m.SameExtIgnoreItem}));
    EXPECT_EQ(m.SameNameIgnoreItem->text(), "このファイルと同じファイル名の全ファイル");
    EXPECT_EQ(m.SameExtIgnoreItem->text(), "このファイルと同じ拡張子の全ファイル");
    EXPECT_EQ(m.OpenWithExternalApp->shortcut(), QKeySequence(Qt::Key_Return));
    EXPECT_EQ(m.OpenWithBrowser->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Return));
    EXPECT_EQ(m.MarkTop->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(m.IgnoreItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    EXPECT_EQ(m.DeleteItem->shortcut(), QKeySequence(Qt::Key_Delete));
    // Before the first opening everything is on.
    EXPECT_EQ(enabledItems(m), "obtimdue"
                               "cp");
}

TEST(TreeMenu, EnablingFollowsTheSelectionEachTimeItOpens)
{
    SiteFixture f;
    struct Row
    {
        const char *name;
        const char *selection;
        bool busy;
        const char *enabled;
    };
    const Row rows[] = {
        {"busy", "index.html", true, "----------"},
        {"no selection", "", false, "------uecp"},
        {"root", "/", false, "------uecp"},
        {"folder", "sub", false, "---i-duecp"},
        {"anchor", "index.html/top", false, "---i-duecp"},
        {"html", "orphan.html", false, "obtimduecp"},
        {"image", "img/logo.png", false, "ob-imduecp"},
        {"other", "notes.txt", false, "-b-imduecp"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        f.form->site().BusyCount = row.busy ? 1 : 0;
        f.openMenuOn(row.selection);
        f.form->site().BusyCount = 0;
        EXPECT_EQ(enabledItems(f.menu()), row.enabled);
    }
}

TEST(TreeMenu, CaptionsFollowTopMarkAndExclusion)
{
    SiteFixture f;
    const TreeMenu &m = f.menu();
    f.openMenuOn("orphan.html");
    EXPECT_EQ(m.MarkTop->text(), "TOPページにする");
    f.choose(m.MarkTop);
    EXPECT_TRUE(f.isTop("orphan.html"));
    EXPECT_EQ(f.file("orphan.html")->ReachState, ReachState::top);
    EXPECT_EQ(f.form->site().tree.Selected(), f.form->site().tree.Root()); // the analysis did
    f.openMenuOn("orphan.html");
    EXPECT_EQ(m.MarkTop->text(), "TOPマークを消す");
    f.choose(m.MarkTop);
    EXPECT_FALSE(f.isTop("orphan.html"));
    EXPECT_EQ(f.file("orphan.html")->ReachState, ReachState::reached);

    f.openMenuOn("img/logo.png");
    EXPECT_EQ(m.IgnoreItem->text(), "チェック対象から外す");
    EXPECT_EQ(m.MarkTop->text(), "TOPマークを消す"); // kept: not recomputed for an image
    f.choose(m.IgnoreItem);
    EXPECT_TRUE(f.file("img/logo.png")->Ignored);
    f.openMenu();
    EXPECT_EQ(m.IgnoreItem->text(), "再びチェック対象にする");
    f.choose(m.IgnoreItem);
    EXPECT_FALSE(f.file("img/logo.png")->Ignored);

    f.openMenuOn("sub");
    EXPECT_EQ(m.IgnoreItem->text(), "このフォルダ以下をチェック対象から外す");
    f.choose(m.IgnoreItem);
    EXPECT_TRUE(f.file("sub/page.html")->Ignored);
    const auto &ignored = f.project().IgnoreFiles();
    EXPECT_NE(std::find(ignored.begin(), ignored.end(), AsciiUpper(f.home + "sub/page.html")),
              ignored.end());
    f.openMenu();
    EXPECT_EQ(m.IgnoreItem->text(), "このフォルダ以下をチェック対象から外す");
}

TEST(TreeMenu, TopMarksAndBulkExclusionThroughTheMenu)
{
    SiteFixture f;
    const TreeMenu &m = f.menu();
    f.openMenuOn("orphan.html");
    f.choose(m.MarkTop);
    ASSERT_TRUE(f.isTop("orphan.html"));
    f.openMenuOn("sub");
    f.choose(m.UnMarkTopAll);
    EXPECT_TRUE(f.project().TopFiles().empty());
    for (const char *path : {"index.html", "orphan.html", "sub/page.html", "img/logo.png"})
        EXPECT_EQ(f.file(path)->ReachState, ReachState::unreached) << path;

    f.dir.write("site/sub/index.html", "x");
    f.form->ReopenButtonClick();
    f.openMenuOn("index.html");
    f.choose(m.SameNameIgnoreItem);
    EXPECT_TRUE(f.file("index.html")->Ignored);
    EXPECT_TRUE(f.file("sub/index.html")->Ignored);
    EXPECT_FALSE(f.file("orphan.html")->Ignored);

    f.openMenuOn("notes.txt");
    f.choose(m.SameExtIgnoreItem);
    EXPECT_TRUE(f.file("notes.txt")->Ignored);
    EXPECT_FALSE(f.file("img/logo.png")->Ignored);
    f.openMenuOn("img/logo.png");
    f.choose(m.SameExtIgnoreItem);
    EXPECT_TRUE(f.file("img/logo.png")->Ignored);
    EXPECT_FALSE(f.file("orphan.html")->Ignored);
}

TEST(TreeMenu, DeleteAsksAndRemovesFilesAndFoldersOnlyOnOk)
{
    SiteFixture f;
    const TreeMenu &m = f.menu();
    struct stat st;

    f.openMenuOn("orphan.html");
    f.recorder->boxes.clear();
    f.recorder->answers = {false};
    f.choose(m.DeleteItem);
    EXPECT_EQ(::stat((f.home + "orphan.html").c_str(), &st), 0);
    EXPECT_NE(f.node("orphan.html"), nullptr);
    ASSERT_EQ(f.recorder->boxes.size(), 1u);
    EXPECT_EQ(f.recorder->boxes.back().text, "'orphan.html'を削除します\nよろしいですか？");
    f.choose(m.DeleteItem); // answered OK
    EXPECT_NE(::stat((f.home + "orphan.html").c_str(), &st), 0);
    EXPECT_EQ(f.node("orphan.html"), nullptr);

    f.openMenuOn("sub/page.html");
    f.choose(m.MarkTop);
    ASSERT_TRUE(f.isTop("sub/page.html"));
    const size_t filesBefore = f.form->site().FileObjects.size();
    f.openMenuOn("sub");
    f.recorder->answers = {false};
    f.choose(m.DeleteItem);
    EXPECT_EQ(::stat((f.home + "sub").c_str(), &st), 0);
    f.choose(m.DeleteItem);
    EXPECT_NE(::stat((f.home + "sub").c_str(), &st), 0);
    EXPECT_EQ(f.node("sub"), nullptr);
    EXPECT_FALSE(f.isTop("sub/page.html"));
    EXPECT_EQ(f.form->site().FileObjects.size(), filesBefore - 1);
    EXPECT_EQ(f.recorder->boxes.back().text, "フォルダ'sub'を削除します\nよろしいですか？\n\n"
                                             "残るページからのリンク 1 個が切れます:\n  index.html")
        << "index.html stays and links to sub/page.html";

    f.openMenuOn("/");
    const size_t boxes = f.recorder->boxes.size();
    ASSERT_TRUE(f.focusTree());
    QTest::keyClick(f.form->siteTree, Qt::Key_Delete); // the key acts like the item
    EXPECT_EQ(f.recorder->boxes.size(), boxes);        // disabled at the last opening
}

TEST(TreeMenu, KeysActOnlyForItemsEnabledAtTheLastOpeningAndNeverWhileBusy)
{
    SiteFixture f;
    ASSERT_TRUE(f.focusTree());
    // Never opened: Ctrl+D is on and excludes the selected file.
    f.form->site().tree.Select(f.node("orphan.html"));
    QTest::keyClick(f.form->siteTree, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(f.file("orphan.html")->Ignored);

    f.openMenuOn("sub"); // TOP mark off
    f.form->site().tree.Select(f.node("sub/page.html"));
    QTest::keyClick(f.form->siteTree, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(f.isTop("sub/page.html"));
    const auto topsBefore = f.project().TopFiles();

    f.openMenuOn("index.html"); // on again
    f.form->site().BusyCount = 1;
    QTest::keyClick(f.form->siteTree, Qt::Key_D, Qt::ControlModifier);
    f.form->site().BusyCount = 0;
    EXPECT_FALSE(f.file("index.html")->Ignored);
    QTest::keyClick(f.form->siteTree, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(f.file("index.html")->Ignored);
    EXPECT_EQ(f.project().TopFiles(), topsBefore);
}

TEST(TreeMenu, DoubleClickOpensEditorBrowserOrBeeps)
{
    SiteFixture f;
    f.form->site().settings().ExternalEditor = "/opt/test/editor";
    f.form->site().settings().CommandLineOption = "-n %F";
    f.form->site().settings().ExternalViewer = "/opt/test/viewer";
    struct Case
    {
        const char *path;
        bool shift;
        const char *program; // nullptr: nothing started
        size_t beeps;
    };
    const Case cases[] = {
        {"orphan.html", false, "/opt/test/editor", 0},
        {"img/logo.png", false, "/opt/test/viewer", 0},
        {"notes.txt", false, nullptr, 1},
        {"notes.txt", true, "browser-test", 0},
        {"orphan.html", true, "browser-test", 0},
        {"sub", false, nullptr, 0},
        {"sub", true, nullptr, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.path) + (c.shift ? " with Shift" : ""));
        f.launcher.calls.clear();
        f.sounds.clear();
        f.form->site().tree.Select(f.node(c.path));
        emit f.form->siteTree->treeDoubleClicked(c.shift);
        EXPECT_EQ(f.sounds.size(), c.beeps);
        if (!c.program) {
            EXPECT_TRUE(f.launcher.calls.empty());
            continue;
        }
        ASSERT_EQ(f.launcher.calls.size(), 1u);
        EXPECT_EQ(f.launcher.calls[0].program, c.program);
        EXPECT_EQ(f.launcher.calls[0].args.back(), f.home + c.path);
    }
    f.launcher.calls.clear();
    f.form->site().tree.Select(f.node("orphan.html"));
    emit f.form->siteTree->treeDoubleClicked(false);
    ASSERT_EQ(f.launcher.calls.size(), 1u);
    EXPECT_EQ(f.launcher.calls[0].args, std::vector<std::string>({"-n", f.home + "orphan.html"}));
}

TEST(TreeMenu, OpeningFailuresReachTheUser)
{
    SiteFixture f;
    f.form->site().settings().ExternalEditor = "/opt/test/editor";
    f.launcher.starts = false;
    f.form->site().tree.Select(f.node("orphan.html"));
    f.form->OpenWithExternalAppClick();
    ASSERT_FALSE(f.recorder->boxes.empty());
    EXPECT_EQ(f.recorder->boxes.back().text,
              "外部アプリケーション\n/opt/test/editor\nを開けません");
    f.form->OpenWithBrowserClick();
    EXPECT_EQ(f.recorder->boxes.back().text, "Das angegebene Browserprogramm exitiert nicht!");
    EXPECT_EQ(f.recorder->boxes.back().caption, "Orvane");
}

TEST(TreeMenu, ExpandAndCollapseAllReachTheView)
{
    SiteFixture f;
    const TreeMenu &m = f.menu();
    FileTreeModel *model = f.form->treeModel();
    f.openMenuOn("/");
    f.choose(m.expandAllNodeItem);
    EXPECT_TRUE(f.form->siteTree->isExpanded(model->indexOf(f.node("sub"))));
    EXPECT_TRUE(f.form->siteTree->isExpanded(model->indexOf(f.node("index.html"))));
    f.choose(m.collapseAllNodeItem);
    EXPECT_FALSE(f.form->siteTree->isExpanded(model->indexOf(f.node("sub"))));
    EXPECT_FALSE(f.node("sub")->Expanded());
    f.choose(m.ShowProjectWindow);
    EXPECT_TRUE(f.form->projectWindow->isVisible());
    f.form->projectWindow->hide();
}

} // namespace
} // namespace orvane
