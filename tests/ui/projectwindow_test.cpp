#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/site.h"
#include "project/project.h"
#include "ui/filetreemodel.h"
#include "ui/filetreeview.h"
#include "ui/folderdialog.h"
#include "ui/mainwindow.h"
#include "ui/projectwindow.h"
#include "uitestsupport.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

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

QList<int> selectedRows(const QListWidget *list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows << i;
    return rows;
}

void selectRows(QListWidget *list, const QList<int> &rows, int current)
{
    list->clearSelection();
    list->setCurrentRow(current, QItemSelectionModel::NoUpdate);
    for (int row : rows)
        list->item(row)->setSelected(true);
}

QString upper(const std::string &path)
{
    return QString::fromStdString(path).toUpper();
}

TEST(ProjectWindow, TitlesAndLabelsFollowTheProject)
{
    FormFixture f;
    ProjectWindow &window = *f.form->projectWindow;
    EXPECT_EQ(window.HomeDirLabel->text(), "未設定");
    EXPECT_EQ(window.ServerRootLabel->text(), "未設定");
    EXPECT_EQ(window.size(), QSize(401, 489));

    f.form->project->SetFileName("/work/my.ovp");
    EXPECT_EQ(f.form->windowTitle(), "my.ovp - Orvane");
    EXPECT_EQ(window.windowTitle(), "my.ovp - プロジェクト情報");
    f.form->project->SetFileName("");
    EXPECT_EQ(f.form->windowTitle(), "untitled - Orvane");
    EXPECT_EQ(window.windowTitle(), "untitled - プロジェクト情報");

    f.form->project->SetHomeDir("/www/site");
    f.form->project->SetServerRoot("/www");
    EXPECT_EQ(window.HomeDirLabel->text(), "/www/site/");
    EXPECT_EQ(window.ServerRootLabel->text(), "/www/");
    // Bytes that are no UTF-8 are shown as Shift-JIS text.
    f.form->project->SetHomeDir("/www/\x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(window.HomeDirLabel->text(), "/www/テスト/");
}

TEST(ProjectWindow, ClosingOnlyHidesTheWindow)
{
    FormFixture f;
    ProjectWindow &window = *f.form->projectWindow;
    f.form->project->AddWildCard("*.bak");
    window.show();
    EXPECT_FALSE(window.close());
    EXPECT_FALSE(window.isVisible());
    window.show();
    EXPECT_EQ(listTexts(window.WildCardList), QStringList({"*.bak"}));
}

TEST(ProjectWindow, PatternsAreAddedAsTypedAndDeletedOneByOne)
{
    FormFixture f;
    ProjectWindow &window = *f.form->projectWindow;
    QTest::keyClick(window.WildCardEdit, Qt::Key_Return); // empty: nothing
    EXPECT_EQ(window.WildCardList->count(), 0);
    for (const char *pattern : {"*.bak", " *.tmp", "*.bak"}) {
        window.WildCardEdit->setText(QString::fromUtf8(pattern));
        QTest::keyClick(window.WildCardEdit, Qt::Key_Return);
        EXPECT_EQ(window.WildCardEdit->text(), "");
    }
    window.WildCardEdit->setText("_vti*");
    window.WildCardAdd->click();
    EXPECT_EQ(f.form->project->WildCards(),
              (std::vector<std::string>{"*.bak", " *.tmp", "*.bak", "_vti*"}));
    EXPECT_EQ(listTexts(window.WildCardList), QStringList({"*.bak", " *.tmp", "*.bak", "_vti*"}));

    window.WildCardList->setCurrentRow(0);
    QTest::keyClick(window.WildCardList, Qt::Key_Delete);
    EXPECT_EQ(listTexts(window.WildCardList), QStringList({" *.tmp", "*.bak", "_vti*"}));
    EXPECT_EQ(window.WildCardList->currentRow(), 0); // the next entry is current

    window.WildCardList->setCurrentRow(2);
    QTest::keyClick(window.WildCardList, Qt::Key_Delete);
    EXPECT_EQ(window.WildCardList->currentRow(), 1); // past the end: the one before

    window.WildCardList->setCurrentRow(0);
    window.WildCardDelete->click();
    EXPECT_EQ(f.form->project->WildCards(), (std::vector<std::string>{"*.bak"}));
}

TEST(ProjectWindow, DeleteRemovesTheSelectedTopPagesAndSelectsTheNextOne)
{
    FormFixture f;
    const std::string site = f.writeSite();
    f.form->DropFiles({site});
    Project &project = *f.form->project;
    for (const char *page : {"index.html", "sub/page.html", "orphan.html", "gone.html", "x.html"})
        project.AddTopFile(site + page); // the last two have no node
    f.node("index.html")->Data()->SetReachState(ReachState::top);
    ProjectWindow &window = *f.form->projectWindow;

    f.recorder->boxes.clear();
    selectRows(window.TopFileList, {0, 2, 3}, 3);
    QTest::keyClick(window.TopFileList, Qt::Key_Delete);
    EXPECT_TRUE(f.recorder->boxes.empty()); // a page with no node goes without a fault
    EXPECT_EQ(listTexts(window.TopFileList),
              QStringList({upper(site + "sub/page.html"), upper(site + "x.html")}));
    EXPECT_EQ(project.TopFiles().size(), 2u);
    EXPECT_EQ(f.node("index.html")->StateIndex(), ImgReached);
    EXPECT_EQ(selectedRows(window.TopFileList), QList<int>({1})); // old position 3: the last

    selectRows(window.TopFileList, {0}, 0);
    QTest::keyClick(window.TopFileList, Qt::Key_Delete);
    EXPECT_EQ(selectedRows(window.TopFileList), QList<int>({0}));
    selectRows(window.TopFileList, {0}, 0);
    QTest::keyClick(window.TopFileList, Qt::Key_Delete);
    EXPECT_EQ(window.TopFileList->count(), 0);
    EXPECT_TRUE(project.TopFiles().empty());
}

TEST(ProjectWindow, PagesOfAFolderNeverCheckedCanBeDeleted)
{
    FormFixture f;
    const std::string project = f.dir.write("never.ovp", "[OrvaneProject]\r\nHomeDir=\r\n"
                                                         "TopFile0=/NOWHERE/A.HTML\r\n"
                                                         "TopFile1=/NOWHERE/B.HTML\r\n"
                                                         "IgnoreFile0=/NOWHERE/C.HTML\r\n");
    f.form->OpenProject(project);
    ProjectWindow &window = *f.form->projectWindow;
    ASSERT_EQ(window.TopFileList->count(), 2);
    selectRows(window.TopFileList, {0, 1}, 1);
    QTest::keyClick(window.TopFileList, Qt::Key_Delete);
    selectRows(window.IgnoreFileList, {0}, 0);
    QTest::keyClick(window.IgnoreFileList, Qt::Key_Delete);
    EXPECT_TRUE(f.recorder->boxes.empty());
    EXPECT_EQ(window.TopFileList->count(), 0);
    EXPECT_EQ(window.IgnoreFileList->count(), 0);
    EXPECT_TRUE(f.form->project->TopFiles().empty());
    EXPECT_TRUE(f.form->project->IgnoreFiles().empty());
}

TEST(ProjectWindow, DeleteIncludesExcludedFilesAgainAndEnterJumpsToThem)
{
    FormFixture f;
    const std::string site = f.writeSite();
    f.form->DropFiles({site});
    ProjectWindow &window = *f.form->projectWindow;
    for (const char *file : {"orphan.html", "sub/page.html", "img/logo.png"})
        f.node(file)->Data()->SetIgnored(true);
    // Sorted as the project sorts them.
    EXPECT_EQ(listTexts(window.IgnoreFileList),
              QStringList({upper(site + "img/logo.png"), upper(site + "orphan.html"),
                           upper(site + "sub/page.html")}));

    f.form->hide();
    window.IgnoreFileList->setCurrentRow(2, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(window.IgnoreFileList, Qt::Key_Return);
    EXPECT_EQ(f.form->site().tree.Selected(), f.node("sub/page.html"));
    EXPECT_TRUE(f.form->isVisible());
    EXPECT_TRUE(f.form->siteTree->currentIndex().isValid());

    selectRows(window.IgnoreFileList, {0, 1}, 1);
    QTest::keyClick(window.IgnoreFileList, Qt::Key_Delete);
    EXPECT_FALSE(f.node("orphan.html")->Data()->Ignored);
    EXPECT_EQ(f.node("orphan.html")->OverlayIndex(), NoOverlay);
    EXPECT_EQ(f.node("img/logo.png")->OverlayIndex(), NoOverlay);
    EXPECT_EQ(f.form->project->IgnoreFiles(),
              (std::vector<std::string>{upper(site + "sub/page.html").toStdString()}));
    EXPECT_EQ(selectedRows(window.IgnoreFileList), QList<int>({0}));

    // A double click on an entry without a node clears the tree's selection.
    f.form->project->AddTopFile(site + "gone.html");
    window.TopFileList->setCurrentRow(0);
    window.TopFileListDblClick();
    EXPECT_EQ(f.form->site().tree.Selected(), nullptr);
}

TEST(ProjectWindow, FolderButtonsChooseTheServerRootAndExcludedFolders)
{
    FormFixture f;
    const std::string site = f.writeSite();
    ProjectWindow &window = *f.form->projectWindow;
    const QString img = QString::fromStdString(site + "img");

    test::chooseInNextFileDialog(img);
    window.addFolderButton->click();
    EXPECT_EQ(f.form->project->WildCards(),
              (std::vector<std::string>{upper(site + "img/").toStdString()}));

    test::chooseInNextFileDialog(QString::fromStdString(site + "sub"));
    window.ServerRootButton->click();
    EXPECT_EQ(f.form->project->ServerRoot(), site + "sub/");
    EXPECT_EQ(window.ServerRootLabel->text(), QString::fromStdString(site + "sub/"));
    EXPECT_EQ(window.BrowseForServerFolder->SelectFolder, SpecialFolder::Manual);
    EXPECT_EQ(window.BrowseForServerFolder->SelectFolderName, QString::fromStdString(site + "sub"));

    test::cancelNextFileDialog();
    window.ServerRootButton->click();
    EXPECT_EQ(f.form->project->ServerRoot(), "");
    EXPECT_EQ(window.ServerRootLabel->text(), "未設定");

    test::chooseInNextFileDialog(QString::fromStdString(site));
    window.HomeButton->click(); // the main window's folder command
    EXPECT_EQ(f.form->site().tree.Root()->Text(), site);
}

TEST(ProjectWindow, FolderChoosersStartAtTheHomeFolder)
{
    FormFixture f;
    ProjectWindow &window = *f.form->projectWindow;
    const auto openedAt = [](QAbstractButton *button) {
        QString folder;
        test::onNextFileDialog([&folder](QFileDialog &dialog) {
            folder = dialog.directory().absolutePath();
            dialog.reject();
        });
        button->click();
        return folder;
    };
    EXPECT_EQ(openedAt(window.addFolderButton), "/") << "no home folder yet";
    EXPECT_EQ(openedAt(window.ServerRootButton), "/");

    const std::string site = f.writeSite();
    f.form->DropFiles({site});
    const QString home = QString::fromStdString(site).chopped(1);
    EXPECT_EQ(openedAt(window.addFolderButton), home);
    EXPECT_EQ(openedAt(window.ServerRootButton), home);

    // A chosen server root is where its chooser opens next, whatever the home.
    test::chooseInNextFileDialog(home + "/sub");
    window.ServerRootButton->click();
    const std::string other = f.dir.mkdir("other");
    f.form->DropFiles({other});
    EXPECT_EQ(openedAt(window.ServerRootButton), home + "/sub");
    EXPECT_EQ(openedAt(window.addFolderButton), QString::fromStdString(other).chopped(1));
}

} // namespace
} // namespace orvane
