#include "engine/reachability.h"
#include "engine/site.h"
#include "settings/settings.h"
#include "ui/linkmenu.h"
#include "ui/mainwindow.h"
#include "ui/qthost.h"
#include "ui/replacedialog.h"
#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace orvane {
namespace {

QStringList listTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The sample site, an orphan that links the logo, a page only it links,
/// and a page that moved away from where the orphan looks for it.
struct ReferrersFixture : test::FormFixture
{
    ReferrersFixture()
    {
        home = writeSite();
        lost = dir.write("site/lost.html", "<p>\n<img src=\"img/logo.png\">\n"
                                           "<a href=\"old/page2.html\">moved</a>\n"
                                           "<a href=\"child.html\">child</a>\n");
        dir.write("site/child.html", "");
        dir.write("site/new/page2.html", "");
        form->DropFiles({home});
        form->runCommand([this] { MarkTopAndAnalyse(form->site(), node("index.html")); });
        test::processPendingEvents();
    }
    ~ReferrersFixture() { form->linkMenu->hide(); }

    void select(const std::string &path)
    {
        form->site().tree.Select(node(path));
        test::processPendingEvents();
    }
    QListWidgetItem *referrer(const QString &text) const
    {
        const auto found = form->referrersList->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    std::string home;
    std::string lost;
};

TEST(ReferrersTab, ShowsWhoLinksHereAndWhyAnOrphanIsOne)
{
    ReferrersFixture f;
    ASSERT_EQ(f.form->tabs->count(), 2);
    EXPECT_EQ(f.form->tabs->tabText(1), "このファイルへのリンク");
    EXPECT_EQ(f.form->tabs->widget(1), f.form->referrersPage);

    f.select("img/logo.png");
    QStringList rows = listTexts(f.form->referrersList);
    rows.sort();
    EXPECT_EQ(rows, QStringList({"index.html:5", "lost.html:2"}));
    EXPECT_TRUE(f.form->orphanReasonLabel->isHidden()) << "the logo is reached";
    ASSERT_NE(f.referrer("lost.html:2"), nullptr);
    EXPECT_FALSE(f.referrer("lost.html:2")->icon().isNull()) << "the page's state picture";
    EXPECT_EQ(f.referrer("lost.html:2")->data(QtHost::LinkRole).toByteArray(), "img/logo.png");

    f.select("orphan.html");
    EXPECT_EQ(f.form->referrersList->count(), 0);
    EXPECT_FALSE(f.form->orphanReasonLabel->isHidden());
    EXPECT_EQ(f.form->orphanReasonLabel->text(), "どのページからもリンクされていません");

    f.select("child.html");
    EXPECT_EQ(listTexts(f.form->referrersList), QStringList({"lost.html:4"}));
    EXPECT_EQ(f.form->orphanReasonLabel->text(), "リンク元はすべて孤立ファイルか除外ファイルです");

    f.select("img");
    EXPECT_EQ(f.form->referrersList->count(), 0) << "a folder shows nothing";
    EXPECT_TRUE(f.form->orphanReasonLabel->isHidden());
}

TEST(ReferrersTab, AClickSelectsThePageAndOpensTheLinkMenuOnTheLink)
{
    ReferrersFixture f;
    f.form->site().settings().ExternalEditor = "/opt/test/editor";
    f.form->site().settings().TagJumpCommandLineOption = "+%N %F";
    f.select("img/logo.png");
    f.form->tabs->setCurrentWidget(f.form->referrersPage);
    QListWidgetItem *row = f.referrer("index.html:5");
    ASSERT_NE(row, nullptr);
    f.form->referrersList->setCurrentItem(row);
    emit f.form->referrersList->itemClicked(row);
    test::processPendingEvents();

    EXPECT_EQ(f.form->site().tree.Selected(), f.node("index.html"));
    EXPECT_EQ(f.form->tabs->currentWidget(), f.form->fileInfoPage);
    ASSERT_NE(f.form->validLinksList->currentItem(), nullptr);
    EXPECT_EQ(f.form->validLinksList->currentItem()->text(), "img/logo.png");
    EXPECT_EQ(f.form->ClickedLink, "img/logo.png");
    EXPECT_TRUE(f.form->linkMenu->isVisible());
    const QList<QAction *> jumps = f.form->linkMenuItems->tagjump->actions();
    ASSERT_EQ(jumps.size(), 1);
    EXPECT_TRUE(jumps[0]->text().startsWith("5: ")) << jumps[0]->text().toStdString();
    jumps[0]->trigger();
    ASSERT_EQ(f.launcher.calls.size(), 1u);
    EXPECT_EQ(f.launcher.calls[0].args, std::vector<std::string>({"+5", f.home + "index.html"}));
}

/// Answers the next replace dialog once it shows with OK, noting the
/// replacement it started with.
void acceptReplaceDialog(QString *startedWith)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto *dialog = qobject_cast<ReplaceDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        *startedWith = dialog->afterEdit->text();
        dialog->okButton->click();
    });
    timer->start();
}

TEST(ReferrersTab, AHintStandsBesideTheInvalidLinkAndStartsTheReplacement)
{
    ReferrersFixture f;
    f.select("lost.html");
    QListWidget *invalid = f.form->invalidLinksList;
    ASSERT_EQ(listTexts(invalid), QStringList({"old/page2.html"}));
    QListWidgetItem *item = invalid->item(0);
    EXPECT_EQ(item->toolTip(), "移動した可能性: new/page2.html");
    EXPECT_EQ(item->data(QtHost::HintRole).toString(), "移動した可能性: new/page2.html");
    EXPECT_EQ(item->text(), "old/page2.html") << "the hint is drawn beside, not in the text";
    invalid->resize(400, 100);
    EXPECT_FALSE(invalid->grab().isNull());

    f.select("index.html");
    EXPECT_TRUE(invalid->item(0)->toolTip().isEmpty()) << "missing.html has no hint";

    f.select("lost.html");
    invalid->setCurrentRow(0);
    f.form->linkMenuItems->ShowLinkMenu(*invalid);
    f.form->linkMenu->hide();
    QString startedWith;
    acceptReplaceDialog(&startedWith);
    f.form->linkMenuItems->replace->trigger();
    EXPECT_EQ(startedWith, "new/page2.html");
    EXPECT_NE(readAll(f.lost).find("<a href=\"new/page2.html\">"), std::string::npos)
        << readAll(f.lost);
}

TEST(ReferrersTab, HintTextsForEachKind)
{
    EXPECT_EQ(QtHost::hintText({HintKind::letterCase, "a/B.html", {}}),
              "大文字小文字だけが違います: a/B.html");
    EXPECT_EQ(QtHost::hintText({HintKind::moved, "../b.html", {}}), "移動した可能性: ../b.html");
    EXPECT_EQ(QtHost::hintText({HintKind::anchor, "a.html#intro", "intro"}), "もしかして: #intro");
    EXPECT_TRUE(QtHost::orphanReasonText(OrphanReason::none).isEmpty());
}

} // namespace
} // namespace orvane
