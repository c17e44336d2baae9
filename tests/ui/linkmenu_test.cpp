#include "commands/launcher.h"
#include "engine/filetree.h"
#include "engine/site.h"
#include "settings/settings.h"
#include "ui/linkmenu.h"
#include "ui/mainwindow.h"
#include "ui/replacedialog.h"
#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace orvane {
namespace {

const char *const Page = "<html>\n"
                         "<a href=\"a.html\">one</a>\n"
                         "\r\n"
                         "<a href=\"a.html\">two &amp; more</a>\r"
                         "<a href=\"a.html\">three</a>\n"
                         "</html>\n";

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// A site with one page linking to a.html three times, the page selected.
struct LinkFixture : test::FormFixture
{
    LinkFixture()
    {
        home = dir.path() + "site/";
        dir.write("site/a.html", "target");
        page = dir.write("site/links.html", Page);
        form->DropFiles({home});
        form->site().tree.Select(node("links.html"));
        test::processPendingEvents();
    }
    ~LinkFixture() { form->linkMenu->hide(); }

    /// Selects the entry with the given bytes in the valid links and runs
    /// the list's click on it.
    bool click(const std::string &link)
    {
        QListWidget *list = form->validLinksList;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toByteArray().toStdString() == link) {
                list->setCurrentRow(i);
                form->linkMenuItems->ShowLinkMenu(*list);
                return true;
            }
        return false;
    }
    QStringList tagJumpCaptions() const
    {
        QStringList captions;
        for (const QAction *item : form->linkMenuItems->tagjump->actions())
            captions << item->text();
        return captions;
    }

    std::string home;
    std::string page;
};

TEST(LinkMenu, TagJumpListsEveryOccurrenceAndStartsTheEditorAtItsLine)
{
    LinkFixture f;
    f.form->site().settings().ExternalEditor = "/opt/test/editor";
    f.form->site().settings().TagJumpCommandLineOption = "+%N %F";
    ASSERT_TRUE(f.click("a.html"));
    EXPECT_EQ(f.form->ClickedLink, "a.html");
    EXPECT_TRUE(f.form->linkMenu->isVisible());
    EXPECT_EQ(f.form->linkMenuItems->replace->text(), "文字列の置換...");
    EXPECT_EQ(f.form->linkMenuItems->tagjump->title(), "文字列へのタグジャンプ");
    // Line breaks of every kind count; "&" is shown, not taken as a key mark.
    EXPECT_EQ(f.tagJumpCaptions(), QStringList({"2: =\"a.html\">one</", "4: =\"a.html\">two &&",
                                                "5: =\"a.html\">three"}));
    EXPECT_TRUE(f.form->linkMenuItems->tagjump->menuAction()->isEnabled());

    f.form->linkMenuItems->tagjump->actions().at(1)->trigger();
    ASSERT_EQ(f.launcher.calls.size(), 1u);
    EXPECT_EQ(f.launcher.calls[0].program, "/opt/test/editor");
    EXPECT_EQ(f.launcher.calls[0].args, std::vector<std::string>({"+4", f.page}));

    // Rebuilt on every click: the page no longer holds the text.
    f.dir.write("site/links.html", "<html></html>\n");
    ASSERT_TRUE(f.click("a.html"));
    EXPECT_TRUE(f.tagJumpCaptions().isEmpty());
    EXPECT_FALSE(f.form->linkMenuItems->tagjump->menuAction()->isEnabled());
    EXPECT_TRUE(f.form->linkMenuItems->replace->isEnabled());
}

TEST(LinkMenu, WithoutAnEditorTheDesktopOpensThePageAndTheStatusLineSaysWhy)
{
    LinkFixture f;
    f.form->site().settings().ExternalEditor.clear();
    f.desktop.entry("user/applications/html-app.desktop", "html-app --tab %U");
    f.desktop.answers["xdg-mime query default text/html"] = "html-app.desktop\n";
    f.recorder->boxes.clear(); // the check's summary
    ASSERT_TRUE(f.click("a.html"));
    ASSERT_EQ(f.tagJumpCaptions().size(), 3);
    f.form->linkMenuItems->tagjump->actions().at(2)->trigger();
    ASSERT_EQ(f.launcher.calls.size(), 1u);
    EXPECT_EQ(f.launcher.calls[0].program, "html-app");
    EXPECT_EQ(f.launcher.calls[0].args, std::vector<std::string>({"--tab", f.page}));
    test::processPendingEvents();
    EXPECT_EQ(f.form->status->text(), QString::fromUtf8(TagJumpNeedsEditorStatus));
    EXPECT_TRUE(f.recorder->boxes.empty());

    // The tree's "開く" takes the same way.
    f.form->OpenWithExternalAppClick();
    ASSERT_EQ(f.launcher.calls.size(), 2u);
    EXPECT_EQ(f.launcher.calls[1].args, f.launcher.calls[0].args);
}

TEST(LinkMenu, NothingWithoutAnEntryAndNoMenuWhenThePageCannotBeRead)
{
    LinkFixture f;
    f.form->validLinksList->clearSelection();
    f.form->linkMenuItems->ShowLinkMenu(*f.form->validLinksList);
    EXPECT_FALSE(f.form->linkMenu->isVisible());
    EXPECT_EQ(f.form->ClickedLink, "");

    f.recorder->boxes.clear();
    ASSERT_EQ(::unlink(f.page.c_str()), 0);
    ASSERT_TRUE(f.click("a.html"));
    EXPECT_FALSE(f.form->linkMenu->isVisible());
    // The reading's own box, then the failure through the error handler.
    ASSERT_EQ(f.recorder->boxes.size(), 2u);
    EXPECT_TRUE(f.recorder->boxes[0].text.startsWith("ファイルをオープンできません"));
    EXPECT_EQ(f.recorder->boxes[1].caption, "Orvane");
}

TEST(LinkMenu, CaptionsAreOneLiteralLine)
{
    EXPECT_EQ(menuCaption("a\r\nb\tc&d"), "a b c&&d");
    EXPECT_EQ(menuCaption("\x83\x65\x83\x58\x83\x67"), "テスト"); // Shift-JIS decoded
}

/// Answers the next replace dialog once it shows: checks what it shows,
/// types replacement (unless empty) and presses OK or Cancel.
void answerReplaceDialog(const QString &replacement, bool ok, QStringList *shown)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto *dialog = qobject_cast<ReplaceDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        *shown << dialog->windowTitle() << dialog->fileNameLabel->text()
               << dialog->beforeLabel->text() << dialog->afterEdit->text()
               << (QApplication::focusWidget() == dialog->afterEdit ? "focus" : "no focus");
        if (!replacement.isEmpty())
            dialog->afterEdit->setText(replacement);
        (ok ? dialog->okButton : dialog->cancelButton)->click();
    });
    timer->start();
}

TEST(ReplaceDialog, ReplacesOnOkOnlyAndLeavesTheListsAsTheyWere)
{
    LinkFixture f;
    ASSERT_TRUE(f.click("a.html"));
    f.form->linkMenu->hide();
    f.recorder->boxes.clear();

    QStringList shown;
    answerReplaceDialog("b.html", false, &shown);
    f.form->linkMenuItems->replace->trigger();
    EXPECT_EQ(shown, QStringList({"文字列の置換", "links.html", "a.html", "a.html", "focus"}));
    EXPECT_EQ(readAll(f.page), Page);
    EXPECT_TRUE(f.recorder->boxes.empty());

    shown.clear();
    answerReplaceDialog("b.html", true, &shown);
    f.form->linkMenuItems->replace->trigger();
    std::string expected = Page;
    for (size_t at; (at = expected.find("a.html")) != std::string::npos;)
        expected.replace(at, 6, "b.html");
    EXPECT_EQ(readAll(f.page), expected);
    ASSERT_EQ(f.recorder->boxes.size(), 1u);
    EXPECT_EQ(f.recorder->boxes[0].text, "置換が完了しました");
    EXPECT_EQ(f.form->validLinksList->findItems("a.html", Qt::MatchExactly).size(), 1);

    // A page without write permission is warned about and stays as it was.
    ASSERT_EQ(::chmod(f.page.c_str(), 0444), 0);
    answerReplaceDialog("c.html", true, &shown);
    f.form->ClickedLink = "b.html";
    f.form->linkMenuItems->replace->trigger();
    EXPECT_EQ(readAll(f.page), expected);
    EXPECT_EQ(
        f.recorder->boxes.back().text,
        "ファイルへの書き込み時にエラーが置きました。\nファイルが読み取り専用の可能性があります");
}

TEST(ReplaceDialog, AnUneditedReplacementKeepsItsBytes)
{
    ReplaceDialog dialog;
    ReplaceTexts texts{"p.html", "\x83\x65.html", "\x83\x65.html"}; // Shift-JIS
    QStringList shown;
    answerReplaceDialog(QString(), true, &shown);
    ASSERT_TRUE(dialog.execute(texts));
    EXPECT_EQ(texts.after, "\x83\x65.html");
    EXPECT_EQ(shown.at(2), "テ.html");
    answerReplaceDialog("テスト.html", true, &shown);
    ASSERT_TRUE(dialog.execute(texts));
    EXPECT_EQ(texts.after, "テスト.html"); // typed text is UTF-8
}

} // namespace
} // namespace orvane
