#include "settings/language.h"
#include "settings/settings.h"
#include "translations/translator.h"
#include "ui/mainwindow.h"
#include "ui/projectwindow.h"
#include "ui/settingsdialog.h"
#include "ui/treemenu.h"
#include "uitestsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

using test::FormFixture;

/// Puts the program's own language back however a test ends: the other
/// tests read the Japanese texts.
struct JapaneseAfterwards
{
    ~JapaneseAfterwards() { UseLanguage(InterfaceLanguage::Japanese); }
};

TEST(WindowLanguage, EnglishShowsTheWindowsMenusAndMessagesInEnglish)
{
    JapaneseAfterwards reset;
    ASSERT_TRUE(UseLanguage(InterfaceLanguage::English));
    FormFixture f;
    EXPECT_EQ(f.form->status->text(), "Drop your home page's folder here");
    EXPECT_EQ(f.form->tabs->tabText(0), "HTML file");
    EXPECT_EQ(f.form->OpenButton->toolTip(), "Open the home page's folder");
    EXPECT_EQ(f.form->OpenButton->text(), "&Folder");
    EXPECT_EQ(f.form->validLinksHeader->text(), "Valid links");
    EXPECT_EQ(f.form->settingsDialog->windowTitle(), "Orvane - Settings");
    EXPECT_EQ(f.form->settingsDialog->Language->itemText(0), "Automatic");
    EXPECT_EQ(f.form->settingsDialog->Language->itemText(1), "日本語");
    EXPECT_EQ(f.form->projectWindow->windowTitle(), "Project");
    EXPECT_EQ(f.form->treeMenuItems->OpenWithBrowser->text(), "Open in browser");
    EXPECT_EQ(f.form->treeMenuItems->MarkTop->text(), "Make top page");

    // A message of the engine, with its caption, and the status line.
    f.form->ProcessCommandLine({f.dir.path() + "none.ovp"});
    ASSERT_EQ(f.recorder->texts("Error").size(), 1u);
    EXPECT_EQ(f.recorder->texts("Error")[0],
              QString::fromStdString(f.dir.path()) + "none.ovp\nwas not found");
    f.writeSite();
    f.form->DropFiles({f.dir.path() + "site/"});
    ASSERT_EQ(f.recorder->texts("Information").size(), 1u);
    EXPECT_TRUE(f.recorder->texts("Information")[0].startsWith("Files with invalid links "));
    f.form->host().flushDisplays();
    EXPECT_EQ(f.form->status->text(), "Mark the top page");
}

TEST(WindowLanguage, JapaneseIsTheProgramsOwnAndQtsDialogsFollowIt)
{
    JapaneseAfterwards reset;
    ASSERT_TRUE(UseLanguage(InterfaceLanguage::English));
    ASSERT_TRUE(
        UseLanguage(InterfaceLanguage::Japanese) ||
        !std::filesystem::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString() +
                                 "/qtbase_ja.qm"));
    FormFixture f;
    EXPECT_EQ(f.form->status->text(), "ホームページのフォルダをドロップして下さい");
    EXPECT_EQ(f.form->settingsDialog->windowTitle(), "Orvane - 設定");
    EXPECT_EQ(f.form->treeMenuItems->MarkTop->text(), "TOPページにする");

    if (!std::filesystem::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString() +
                                 "/qtbase_ja.qm"))
        GTEST_SKIP() << "Qt's translations are not installed (Debian: qt6-translations-l10n)";
    // The standard buttons of Qt's own boxes, as in the file dialogs.
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "キャンセル");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), "開く");

    ASSERT_TRUE(UseLanguage(InterfaceLanguage::English));
    QMessageBox english(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                        QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(english.button(QMessageBox::Cancel)->text(), "Cancel");
}

TEST(SettingsDialog, LanguageChoiceIsStoredAndShown)
{
    FormFixture f;
    f.dir.write("orvane.ini", "[Option]\r\nLanguage=1\r\n");
    SettingsDialog &dialog = *f.form->settingsDialog;
    QTimer::singleShot(0, &dialog, [&dialog] {
        EXPECT_EQ(dialog.Language->count(), 3);
        EXPECT_EQ(dialog.Language->itemText(0), "自動");
        EXPECT_EQ(dialog.Language->itemText(2), "English");
        EXPECT_EQ(dialog.Language->currentIndex(), 1) << "as the file holds it";
        emit dialog.Language->activated(2);
        dialog.okButton->click();
    });
    f.form->OptionButtonClick();
    Settings stored;
    LoadSettings(stored, f.iniPath);
    EXPECT_EQ(stored.Language, LanguageEnglish);
}

} // namespace
} // namespace orvane
