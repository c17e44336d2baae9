#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/reachability.h"
#include "support/sitefixture.h"
#include "ui/filetreemodel.h"
#include "ui/filetreeview.h"
#include "uitestsupport.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace orvane {
namespace {

using test::SiteFixture;

/// Collects what QAbstractItemModelTester reports while it is installed.
class TesterFailures
{
public:
    TesterFailures() { s_failures = &m_failures, m_previous = qInstallMessageHandler(record); }
    ~TesterFailures()
    {
        qInstallMessageHandler(m_previous);
        s_failures = nullptr;
    }
    const QStringList &failures() const { return m_failures; }

private:
    static void record(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg && s_failures && message.contains(QLatin1String("FAIL")))
            s_failures->append(message);
    }
    static inline QStringList *s_failures = nullptr;
    QStringList m_failures;
    QtMessageHandler m_previous;
};

void writeSite(const test::TempDir &dir)
{
    dir.write("index.html", "<a href=\"a/one.html\">1</a><a href=\"b.gif\">b</a><a name=\"x\">");
    dir.write("a/one.html", "<a href=\"../index.html#x\">back</a>");
    dir.write("a/deep/two.html", "");
    dir.write("b.gif", "GIF");
    dir.write("notes.txt", "");
}

QImage imageOf(const QVariant &decoration)
{
    return decoration.value<QPixmap>().toImage();
}

TEST(FileTreeModel, StaysConsistentThroughACheckRunAndSingleChanges)
{
    SiteFixture f;
    writeSite(f.dir);
    FileTreeModel model(f.site.tree);
    TesterFailures failures;
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);

    f.project.AddTopFile(f.dir.path() + "index.html");
    CheckFolder(f.site, f.dir.path(), true);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 4); // a, b.gif, index.html, notes.txt

    // Outside a bracket every change is told on its own.
    TreeNode *a = f.node("a");
    TreeNode *added = f.site.tree.AddChild(a, "new.html");
    added->SetImageIndex(ImgPageWhite);
    f.site.tree.Delete(f.node("a/deep"));
    f.site.tree.Delete(added);
    f.site.tree.Select(f.node("index.html"));
    f.site.tree.Root()->SetText("/elsewhere/");
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "/elsewhere/");
    EXPECT_TRUE(failures.failures().isEmpty()) << failures.failures().join('\n').toStdString();
}

TEST(FileTreeModel, ARepaintBracketIsTwoResetsAndShowsOnlyTheRootMeanwhile)
{
    SiteFixture f;
    writeSite(f.dir);
    FileTreeModel model(f.site.tree);
    CheckFolder(f.site, f.dir.path(), false);

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy rebuilt(&model, &FileTreeModel::treeRebuilt);
    int visibleWhileRunning = -1;
    f.host.onProcessEvents = [&](long) {
        if (f.site.tree.Updating())
            visibleWhileRunning = std::max(visibleWhileRunning, model.rowCount(model.index(0, 0)));
    };
    LoadSite(f.site, f.dir.path());

    EXPECT_EQ(visibleWhileRunning, 0);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(rebuilt.count(), 1);
    EXPECT_EQ(inserted.count() + removed.count() + changed.count(), 0);
    EXPECT_FALSE(model.suspended());
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 4);
}

TEST(FileTreeModel, DecorationShowsStatePictureAndExclusionOverlay)
{
    SiteFixture f;
    writeSite(f.dir);
    FileTreeModel model(f.site.tree);
    CheckFolder(f.site, f.dir.path(), false);
    const auto decoration = [&](const char *path) {
        return model.data(model.indexOf(f.node(path)), Qt::DecorationRole);
    };

    // A folder has no state picture; a file has one left of its own.
    EXPECT_EQ(decoration("a").value<QPixmap>().width(), 16);
    EXPECT_EQ(decoration("notes.txt").value<QPixmap>().width(), 32);
    EXPECT_EQ(decoration("notes.txt").value<QPixmap>().height(), 16);

    const QImage included = imageOf(decoration("notes.txt"));
    f.object("notes.txt")->SetIgnored(true);
    f.object("notes.txt")->SetReachState(ReachState::unreached);
    const QImage excluded = imageOf(decoration("notes.txt"));
    EXPECT_EQ(excluded.copy(0, 0, 16, 16), included.copy(0, 0, 16, 16));   // same state picture
    EXPECT_NE(excluded.copy(16, 0, 16, 16), included.copy(16, 0, 16, 16)); // checker over it

    // A selected folder shows its selected (open) picture.
    const QImage closed = imageOf(decoration("a"));
    f.site.tree.Select(f.node("a"));
    EXPECT_NE(imageOf(decoration("a")), closed);

    // Each picture reads at high density too: drawn at twice the pixels.
    model.setDevicePixelRatio(2.0);
    const QPixmap sharp = decoration("a").value<QPixmap>();
    EXPECT_EQ(sharp.width(), 32);
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
}

TEST(FileTreeView, FollowsTheTreesSelectionAndExpandedNodesBothWays)
{
    SiteFixture f;
    writeSite(f.dir);
    FileTreeModel model(f.site.tree);
    FileTreeView view;
    view.setTreeModel(&model);
    view.resize(300, 400);
    view.show();
    QSignalSpy told(&view, &FileTreeView::nodeSelectionChanged);
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_TRUE(view.isExpanded(model.indexOf(f.site.tree.Root())));

    // The engine selects a node deep down: the view shows it, opening its folders.
    TreeNode *two = f.node("a/deep/two.html");
    f.site.tree.Select(two);
    EXPECT_EQ(view.currentIndex(), model.indexOf(two));
    EXPECT_TRUE(f.node("a/deep")->Expanded());

    // The user selects: the tree follows, and the change is told once.
    told.clear();
    view.setCurrentIndex(model.indexOf(f.node("notes.txt")));
    EXPECT_EQ(f.site.tree.Selected(), f.node("notes.txt"));
    EXPECT_EQ(told.count(), 1);

    view.collapse(model.indexOf(f.node("a")));
    EXPECT_FALSE(f.node("a")->Expanded());
    f.node("a")->SetExpanded(true);
    EXPECT_TRUE(view.isExpanded(model.indexOf(f.node("a"))));

    // After a repaint bracket the view opens what was open, pages too, and
    // keeps the selection.
    f.node("index.html")->SetExpanded(true);
    AnalyseReachability(f.site);
    EXPECT_TRUE(view.isExpanded(model.indexOf(f.node("a"))));
    EXPECT_TRUE(view.isExpanded(model.indexOf(f.node("a/deep"))));
    EXPECT_TRUE(view.isExpanded(model.indexOf(f.node("index.html"))));
    EXPECT_FALSE(view.isExpanded(model.indexOf(f.node("a/one.html"))));
    EXPECT_EQ(view.currentIndex(), model.indexOf(f.site.tree.Selected()));

    // A right click selects the node under the pointer, or nothing.
    const QRect row = view.visualRect(model.indexOf(f.node("b.gif")));
    QTest::mouseClick(view.viewport(), Qt::RightButton, Qt::NoModifier, row.center());
    EXPECT_EQ(f.site.tree.Selected(), f.node("b.gif"));
    QTest::mouseClick(view.viewport(), Qt::RightButton, Qt::NoModifier,
                      QPoint(5, view.viewport()->height() - 5));
    EXPECT_EQ(f.site.tree.Selected(), nullptr);
    EXPECT_FALSE(view.currentIndex().isValid());
}

} // namespace
} // namespace orvane
