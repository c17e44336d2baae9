#include "ui/folderdialog.h"
#include "uitestsupport.h"

#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

TEST(FolderDialog, ChoiceFillsTheResultsAndCancelClearsThem)
{
    test::TempDir dir;
    const QString folder = QString::fromStdString(dir.mkdir("My Site"));
    QWidget owner;
    FolderDialog browse(&owner);
    browse.Caption = "ホームページのフォルダを指定して下さい";

    QString title;
    test::onNextFileDialog([&](QFileDialog &dialog) {
        title = dialog.windowTitle();
        test::chooseIn(dialog, folder);
    });
    ASSERT_TRUE(browse.Execute());
    EXPECT_EQ(title, browse.Caption);
    EXPECT_EQ(browse.FolderPath(), QDir::cleanPath(folder));
    EXPECT_EQ(browse.DisplayName(), "My Site");

    test::cancelNextFileDialog();
    EXPECT_FALSE(browse.Execute());
    EXPECT_EQ(browse.FolderPath(), "");
    EXPECT_EQ(browse.DisplayName(), "");
}

TEST(FolderDialog, OpensAtThePreselectedFolder)
{
    test::TempDir dir;
    const QString kept = QDir::cleanPath(QString::fromStdString(dir.mkdir("kept")));
    const QString gone = QDir::cleanPath(QString::fromStdString(dir.mkdir("gone")));
    std::filesystem::remove(gone.toStdString());
    QWidget owner;
    FolderDialog browse(&owner);
    struct Case
    {
        SpecialFolder select;
        QString name;
        QString expected;
    };
    const Case cases[] = {
        {SpecialFolder::Drives, {}, QDir::rootPath()},
        {SpecialFolder::Manual, kept, kept},
        {SpecialFolder::Manual, gone, FolderDialog::specialFolderPath(SpecialFolder::Desktop, {})},
    };
    for (const Case &c : cases) {
        browse.SelectFolder = c.select;
        browse.SelectFolderName = c.name;
        QString opened;
        test::onNextFileDialog([&](QFileDialog &dialog) {
            opened = QDir::cleanPath(dialog.directory().absolutePath());
            dialog.reject();
        });
        browse.Execute();
        EXPECT_EQ(opened, c.expected) << c.name.toStdString();
    }
}

TEST(FolderDialog, NothingOutsideTheRootCanBeChosen)
{
    test::TempDir dir;
    const QString root = QDir::cleanPath(QString::fromStdString(dir.mkdir("root")));
    const QString inside = QDir::cleanPath(QString::fromStdString(dir.mkdir("root/inner")));
    const QString outside = QDir::cleanPath(QString::fromStdString(dir.mkdir("other")));
    QWidget owner;
    FolderDialog browse(&owner);
    browse.RootFolder = SpecialFolder::Manual;
    browse.RootFolderName = root;

    test::chooseInNextFileDialog(outside);
    EXPECT_FALSE(browse.Execute());
    EXPECT_EQ(browse.FolderPath(), "");

    test::chooseInNextFileDialog(inside);
    EXPECT_TRUE(browse.Execute());
    EXPECT_EQ(browse.FolderPath(), inside);
}

} // namespace
} // namespace orvane
