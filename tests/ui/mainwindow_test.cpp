#include "base/errors.h"
#include "engine/fileobject.h"
#include "engine/site.h"
#include "project/project.h"
#include "settings/settings.h"
#include "ui/filetreemodel.h"
#include "ui/filetreeview.h"
#include "ui/mainwindow.h"
#include "ui/projectwindow.h"
#include "uitestsupport.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::FormFixture;

QStringList listTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QString rootText(const MainWindow &form)
{
    FileTreeModel *model = form.treeModel();
    return model->data(model->index(0, 0)).toString();
}

std::string writeProject(const test::TempDir &dir, const std::string &name,
                         const std::string &homeDir)
{
    return dir.write(name, "[OrvaneProject]\r\nHomeDir=" + homeDir + "\r\nServerRoot=\r\n");
}

TEST(MainWindow, StartsWithAnEmptyTreeAndTheCommandsReady)
{
    FormFixture f;
    MainWindow &form = *f.form;
    EXPECT_EQ(form.windowTitle(), "Orvane");
    EXPECT_EQ(rootText(form), "homepage");
    EXPECT_EQ(form.status->text(), "ホームページのフォルダをドロップして下さい");
    EXPECT_EQ(form.CountPanel->text(), ""); // cleared by the start-up's end of the busy state
    EXPECT_EQ(form.fileCountLabel->text(), "総ファイル数");
    EXPECT_EQ(form.selectedFolderPanel->text(), "指定フォルダ以下の全ファイル");
    EXPECT_EQ(form.validLinksHeader->text(), "有効リンク");
    EXPECT_EQ(form.invalidLinksHeader->text(), "無効リンク");
    EXPECT_EQ(form.externalLinksHeader->text(), "外部リンク");
    for (QListWidget *list : {form.validLinksList, form.invalidLinksList, form.externalLinksList})
        EXPECT_EQ(list->count(), 0);

    struct Button
    {
        QToolButton *button;
        const char *caption;
        const char *hint;
        bool enabled;
    };
    const Button buttons[] = {
        {form.OpenButton, "&Folder", "ホームページのフォルダを開く", true},
        {form.OpenProjectBtn, "&Open", "Projectファイルを開く", true},
        {form.SaveProjectBtn, "&Save", "Projectファイルの保存", true},
        {form.ReopenButton, "&Reopen", "現在のフォルダを開き直す", false},
        {form.StopButton, "&Halt", "", false},
        {form.OptionButton, "&Config", "いろいろ設定する", true},
        {form.AboutButton, "&About", "Orvaneについて", true},
    };
    for (const Button &b : buttons) {
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint)) << b.caption;
        EXPECT_EQ(b.button->isEnabled(), b.enabled) << b.caption;
        EXPECT_EQ(b.button->size(), QSize(41, 41)) << b.caption;
    }
    EXPECT_EQ(form.projectWindow->windowTitle(), "プロジェクト情報");
    EXPECT_TRUE(form.projectWindow->isVisible()); // shown when nothing was stored
    EXPECT_EQ(form.site().BusyCount, 0);
}

TEST(MainWindow, BusyProtocolSwitchesExactlyTheListedControls)
{
    FormFixture f;
    MainWindow &form = *f.form;
    ProjectWindow &project = *form.projectWindow;
    const std::vector<QWidget *> commands = {form.OpenButton,     form.OpenProjectBtn,
                                             form.SaveProjectBtn, form.ReopenButton,
                                             form.OptionButton,   form.AboutButton};
    const std::vector<QWidget *> projectControls = {
        project.TopFileList,  project.IgnoreFileList,   project.WildCardList,
        project.WildCardEdit, project.WildCardAdd,      project.WildCardDelete,
        project.HomeButton,   project.ServerRootButton, project.addFolderButton};
    const std::vector<QWidget *> untouched = {form.siteTree, form.validLinksList,
                                              form.invalidLinksList, form.externalLinksList};
    const auto expectBusy = [&](bool busy, bool reopen) {
        for (QWidget *w : commands)
            EXPECT_EQ(w->isEnabled(), w == form.ReopenButton ? reopen : !busy)
                << w->metaObject()->className();
        EXPECT_EQ(form.StopButton->isEnabled(), busy);
        for (QWidget *w : projectControls)
            EXPECT_EQ(w->isEnabled(), !busy);
        for (QWidget *w : untouched)
            EXPECT_TRUE(w->isEnabled());
    };

    Site &site = form.site();
    site.BeginBusy();
    expectBusy(true, false);
    site.BeginBusy();
    site.EndBusy();
    expectBusy(true, false); // still inside the outer command
    site.EndBusy();
    expectBusy(false, false); // no home folder: Reopen stays off

    form.DropFiles({f.writeSite()});
    expectBusy(false, true);
    site.BeginBusy();
    expectBusy(true, false);
    site.EndBusy();
    expectBusy(false, true);
}

TEST(MainWindow, DropOfEachKind)
{
    FormFixture f;
    const std::string site = f.writeSite();
    const std::string siteFolder = site.substr(0, site.size() - 1);
    const std::string project = writeProject(f.dir, "proj/mine.OVP", site);
    std::string longFolder = f.dir.path();
    for (int i = 0; i < 3; ++i)
        longFolder += std::string(90, 'd' + i) + "/";
    ASSERT_EQ(::mkdir((f.dir.path() + std::string(90, 'd')).c_str(), 0700), 0);
    ASSERT_EQ(
        ::mkdir((f.dir.path() + std::string(90, 'd') + "/" + std::string(90, 'e')).c_str(), 0700),
        0);
    ASSERT_EQ(::mkdir(longFolder.c_str(), 0700), 0);
    ASSERT_GT(longFolder.size(), 255u);

    struct Case
    {
        const char *name;
        std::vector<std::string> paths;
        QString root;  // the root's text afterwards
        QString title; // the main window's title afterwards
    };
    const QString fresh = QStringLiteral("homepage");
    const QString siteRoot = QString::fromStdString(site);
    const Case cases[] = {
        {"two items", {siteFolder, site + "index.html"}, fresh, "Orvane"},
        {"missing path", {site + "nothing.html"}, fresh, "Orvane"},
        {"path over 255 bytes", {longFolder}, fresh, "Orvane"},
        {"folder", {siteFolder}, siteRoot, "untitled - Orvane"},
        {"project file", {project}, siteRoot, "mine.OVP - Orvane"},
        {"other file", {site + "sub/page.html"}, siteRoot + "sub/", "untitled - Orvane"},
    };
    for (const Case &c : cases) {
        FormFixture g; // a fresh window for each drop
        g.form->DropFiles(c.paths);
        EXPECT_EQ(rootText(*g.form), c.root) << c.name;
        EXPECT_EQ(g.form->windowTitle(), c.title) << c.name;
        EXPECT_EQ(g.recorder->texts("情報").size(), c.root == fresh ? 0u : 1u) << c.name;
    }
}

TEST(MainWindow, DropEventsReachTheDropHandler)
{
    FormFixture f;
    const std::string site = f.writeSite();
    const auto drop = [&](const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(f.form.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.form.get(), &event);
    };
    const QUrl folder = QUrl::fromLocalFile(QString::fromStdString(site));
    drop({folder, QUrl::fromLocalFile(QString::fromStdString(site + "index.html"))});
    EXPECT_EQ(rootText(*f.form), "homepage");
    drop({folder});
    EXPECT_EQ(rootText(*f.form), QString::fromStdString(site));
    test::processPendingEvents(); // the status line follows when events run
    EXPECT_EQ(f.form->status->text(), "トップページを指定してください");
}

TEST(MainWindow, DropWhileACommandRunsIsIgnored)
{
    FormFixture f;
    const std::string site = f.writeSite();
    f.form->site().BeginBusy();
    f.form->DropFiles({site});
    f.form->site().EndBusy();
    EXPECT_EQ(rootText(*f.form), "homepage");
}

TEST(MainWindow, SelectingAPageFillsTheLinkLists)
{
    FormFixture f;
    f.form->DropFiles({f.writeSite()});
    FileTreeView &view = *f.form->siteTree;
    const auto select = [&](const std::string &path) {
        view.setCurrentIndex(f.form->treeModel()->indexOf(f.node(path)));
    };

    select("index.html");
    EXPECT_EQ(f.form->site().tree.Selected(), f.node("index.html"));
    EXPECT_EQ(listTexts(f.form->validLinksList), QStringList({"img/logo.png", "sub/page.html"}));
    EXPECT_EQ(listTexts(f.form->invalidLinksList), QStringList({"missing.html"}));
    EXPECT_EQ(listTexts(f.form->externalLinksList), QStringList({"http://example.com/"}));
    EXPECT_EQ(f.form->invalidLinksList->item(0)->data(Qt::UserRole).toByteArray(), "missing.html");

    select("sub/page.html");
    EXPECT_EQ(listTexts(f.form->validLinksList), QStringList({"../index.html#top"}));
    EXPECT_EQ(f.form->invalidLinksList->count(), 0);

    select("img"); // a folder has no links
    EXPECT_EQ(f.form->validLinksList->count(), 0);

    // A change while a command runs leaves the lists as they are.
    select("index.html");
    f.form->site().BeginBusy();
    select("sub/page.html");
    f.form->site().EndBusy();
    EXPECT_EQ(listTexts(f.form->invalidLinksList), QStringList({"missing.html"}));
}

TEST(MainWindow, CommandLineOpensItsFirstArgumentAsAProjectOnceShown)
{
    FormFixture f;
    f.form->hide();
    const std::string missing = f.dir.path() + "none.ovp";
    f.form->ProcessCommandLine({missing, f.dir.path()});
    EXPECT_TRUE(f.form->isVisible());
    ASSERT_EQ(f.recorder->boxes.size(), 1u);
    EXPECT_EQ(f.recorder->boxes[0].caption, "エラー");
    EXPECT_EQ(f.recorder->boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(f.recorder->boxes[0].text, QString::fromStdString(missing) + "\nが見つかりません");
    EXPECT_EQ(f.form->windowTitle(), "Orvane");
    EXPECT_TRUE(f.form->saveDialogFileName().empty());

    FormFixture g;
    g.form->hide();
    const std::string project = writeProject(g.dir, "site.ovp", g.writeSite());
    bool visibleWhenScanStarted = false;
    QObject::connect(g.form->treeModel(), &QAbstractItemModel::modelAboutToBeReset,
                     [&] { visibleWhenScanStarted = g.form->isVisible(); });
    g.form->ProcessCommandLine({project});
    EXPECT_TRUE(visibleWhenScanStarted);
    EXPECT_EQ(g.form->windowTitle(), "site.ovp - Orvane");
    EXPECT_EQ(g.form->projectWindow->windowTitle(), "site.ovp - プロジェクト情報");
    EXPECT_EQ(g.form->saveDialogFileName(), project);
    EXPECT_NE(g.node("orphan.html"), nullptr);
}

TEST(MainWindow, CommandLineChecksAFolderAsADropDoes)
{
    FormFixture probe;
    const std::string site = probe.writeSite(); // dir/site/
    const std::string base = probe.dir.path();
    struct Case
    {
        const char *name;
        std::string argument;
        std::string workingFolder;
    };
    const Case cases[] = {
        {"absolute", site.substr(0, site.size() - 1), "/"},
        {"absolute with slash", site, "/"},
        {"relative", "site", base},
        {"relative with dots", "./site/../site/", base},
        {"the current folder", ".", site},
    };
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    for (const Case &c : cases) {
        ASSERT_EQ(::chdir(c.workingFolder.c_str()), 0) << c.name;
        FormFixture f;
        f.form->hide();
        f.form->ProcessCommandLine({c.argument, "ignored.ovp"});
        EXPECT_TRUE(f.form->isVisible()) << c.name;
        EXPECT_EQ(rootText(*f.form), QString::fromStdString(site)) << c.name;
        EXPECT_EQ(f.form->windowTitle(), "untitled - Orvane") << c.name;
        EXPECT_EQ(f.form->project->HomeDir(), site) << c.name;
        EXPECT_TRUE(f.form->saveDialogFileName().empty()) << c.name;
        EXPECT_EQ(f.recorder->texts("情報").size(), 1u) << c.name; // the check's summary
        EXPECT_TRUE(f.recorder->texts("エラー").empty()) << c.name;
        test::processPendingEvents();
        EXPECT_EQ(f.form->status->text(), "トップページを指定してください") << c.name;
    }
    ASSERT_EQ(::chdir(previous), 0);
}

TEST(MainWindow, AFailingCommandEndsInTheProgramsBoxAndTheProgramGoesOn)
{
    FormFixture f;
    f.form->runCommand([] { throw OrvaneError("it is binary file"); });
    f.form->runCommand([&] { f.form->site().EndBusy(); }); // out of step: an assertion
    ASSERT_EQ(f.recorder->boxes.size(), 2u);
    EXPECT_EQ(f.recorder->boxes[0].caption, "Orvane");
    EXPECT_EQ(f.recorder->boxes[0].text, "it is binary file");
    EXPECT_TRUE(f.recorder->boxes[1].text.startsWith("Assertion failure (mainform, "));
    EXPECT_EQ(f.form->site().BusyCount, 0);
    f.form->DropFiles({f.writeSite()});
    EXPECT_NE(f.node("index.html"), nullptr);
}

TEST(MainWindow, HaltStopsTheScanAtTheNextItem)
{
    FormFixture f;
    const std::string site = f.writeSite();
    QTimer::singleShot(0, f.form->StopButton, &QToolButton::click);
    f.form->DropFiles({site});
    EXPECT_EQ(f.form->site().tree.Root()->Count(), 0u); // halted before the first entry
    EXPECT_EQ(f.recorder->texts("情報").size(), 1u);    // the summary still comes
    EXPECT_FALSE(f.form->site().HaltRequested);
    EXPECT_FALSE(f.form->StopButton->isEnabled());
}

TEST(MainWindow, ClosingDuringACommandHaltsItAndClosesAfterwards)
{
    FormFixture f;
    const std::string site = f.writeSite();
    f.form->show();
    bool closedAtOnce = true;
    QTimer::singleShot(0, f.form.get(), [&] { closedAtOnce = f.form->close(); });
    f.form->DropFiles({site});
    EXPECT_FALSE(closedAtOnce);
    EXPECT_TRUE(f.form->isVisible());
    test::processPendingEvents();
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(f.form->projectWindow, nullptr); // everything of the run is freed
    EXPECT_NE(test::readFile(f.iniPath).find("[WindowState]"), std::string::npos);
}

TEST(MainWindow, ReopenChecksTheHomeFolderAgainWithTheProjectsTopPages)
{
    FormFixture f;
    const std::string site = f.writeSite();
    f.form->DropFiles({site});
    EXPECT_EQ(f.node("index.html")->StateIndex(), ImgUnreached);
    f.form->project->AddTopFile(site + "index.html");
    ASSERT_TRUE(f.form->ReopenButton->isEnabled());
    f.form->ReopenButton->click();
    EXPECT_EQ(f.node("index.html")->StateIndex(), ImgTopPage);
    EXPECT_EQ(f.node("sub/page.html")->StateIndex(), ImgReached);
    EXPECT_EQ(f.node("orphan.html")->StateIndex(), ImgUnreached);
    EXPECT_EQ(f.recorder->texts("情報").size(), 2u);
}

TEST(MainWindow, ProjectFilesOpenAndSaveThroughTheirDialogs)
{
    FormFixture f;
    const std::string site = f.writeSite();
    f.form->DropFiles({site});
    f.form->project->AddTopFile(site + "index.html");

    test::chooseInNextFileDialog(QString::fromStdString(f.dir.path() + "saved"));
    f.form->SaveProjectBtnClick();
    const std::string saved = f.dir.path() + "saved.ovp";
    EXPECT_NE(test::readFile(saved).find("TopFile0="), std::string::npos);
    EXPECT_EQ(f.form->windowTitle(), "saved.ovp - Orvane");
    EXPECT_EQ(f.form->saveDialogFileName(), saved);

    FormFixture g;
    test::chooseInNextFileDialog(QString::fromStdString(saved));
    g.form->OpenProjectBtnClick();
    EXPECT_EQ(g.form->windowTitle(), "saved.ovp - Orvane");
    EXPECT_EQ(g.form->project->TopFiles().size(), 1u);
    EXPECT_EQ(g.node("index.html")->StateIndex(), ImgTopPage);

    test::cancelNextFileDialog();
    g.form->SaveProjectBtnClick(); // cancelled: nothing written, title kept
    EXPECT_EQ(g.form->windowTitle(), "saved.ovp - Orvane");
}

} // namespace
} // namespace orvane
