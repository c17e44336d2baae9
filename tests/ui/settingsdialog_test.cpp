#include "engine/fileobject.h"
#include "engine/site.h"
#include "settings/settings.h"
#include "ui/mainwindow.h"
#include "ui/settingsdialog.h"
#include "uitestsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orvane {
namespace {

using test::FormFixture;

/// Opens the settings dialog from the main window, lets edit change its
/// controls while it is shown, then closes it with OK or Cancel.
void runSettingsDialog(MainWindow &form, const std::function<void(SettingsDialog &)> &edit, bool ok)
{
    SettingsDialog &dialog = *form.settingsDialog;
    QTimer::singleShot(0, &dialog, [&dialog, edit, ok] {
        EXPECT_TRUE(dialog.isVisible());
        edit(dialog);
        (ok ? dialog.okButton : dialog.cancelButton)->click();
    });
    form.OptionButtonClick();
}

/// A site whose one page links to "Page.html" (the file is page.html) and to
/// the folder "sub/" (which holds index.htm).
std::string writeCaseSite(FormFixture &f)
{
    f.dir.write("site/index.html", "<a href=\"Page.html\">p</a><a href=\"sub/\">s</a>");
    f.dir.write("site/page.html", "");
    f.dir.write("site/sub/index.htm", "");
    return f.dir.path() + "site/";
}

const FileObject &indexPage(FormFixture &f)
{
    return *f.node("index.html")->Data();
}

TEST(SettingsDialog, CancelPutsBackWhatTheFileHolds)
{
    FormFixture f;
    f.form->DropFiles({writeCaseSite(f)});
    f.dir.write("orvane.ini", "[Option]\r\nDefaultFileName=home.html\r\nExtListImg=.GIF\r\n");
    const std::string before = test::readFile(f.iniPath);

    runSettingsDialog(
        *f.form,
        [](SettingsDialog &d) {
            EXPECT_EQ(d.DefaultFileName->text(), "home.html"); // loaded before showing
            d.ignoreCase->click();
            d.DefaultFileName->setText("other.html");
            d.MakeExtListDefault->click();
            EXPECT_TRUE(d.settings.IgnoreCase); // edited in place while shown
            EXPECT_EQ(d.settings.ExtListImg, ".JPG.JPEG.GIF.PNG.XPM.XBM");
        },
        false);

    Settings expected;
    expected.DefaultFileName = "home.html";
    expected.ExtListImg = ".GIF";
    EXPECT_EQ(f.form->settingsDialog->settings, expected);
    EXPECT_EQ(test::readFile(f.iniPath), before);
    EXPECT_EQ(indexPage(f).InvalidLinks.size(), 2u); // not classified again
}

TEST(SettingsDialog, OkSavesAndClassifiesAgainOnlyWhenIgnoreCaseChanged)
{
    FormFixture f;
    f.form->DropFiles({writeCaseSite(f)});
    ASSERT_EQ(indexPage(f).InvalidLinks.size(), 2u);

    runSettingsDialog(
        *f.form, [](SettingsDialog &d) { d.DefaultFileName->setText("index.htm"); }, true);
    Settings stored;
    LoadSettings(stored, f.iniPath);
    EXPECT_EQ(stored.DefaultFileName, "index.htm");
    EXPECT_EQ(indexPage(f).InvalidLinks.size(), 2u); // in effect, but nothing re-run

    runSettingsDialog(
        *f.form, [](SettingsDialog &d) { d.ignoreCase->click(); }, true);
    LoadSettings(stored, f.iniPath);
    EXPECT_TRUE(stored.IgnoreCase);
    EXPECT_TRUE(indexPage(f).InvalidLinks.empty()); // both links classified anew
    EXPECT_EQ(indexPage(f).ValidLinks.size(), 2u);
}

TEST(SettingsDialog, OkWithModernLinksChangedClassifiesAgainAtOnce)
{
    FormFixture f;
    f.dir.write("site/index.html", "<a href=\"page.html#sec\">p</a><a href=\"my%20page.html\">");
    f.dir.write("site/page.html", "<h2 id=\"sec\">");
    f.dir.write("site/my page.html", "");
    f.form->DropFiles({f.dir.path() + "site/"});
    ASSERT_TRUE(indexPage(f).InvalidLinks.empty());

    runSettingsDialog(
        *f.form,
        [](SettingsDialog &d) {
            EXPECT_EQ(d.ModernLinks->text(), "id属性・%エスケープ・#top も解釈する（現在のHTML）");
            EXPECT_TRUE(d.ModernLinks->isChecked());
            d.ModernLinks->click();
        },
        true);
    Settings stored;
    LoadSettings(stored, f.iniPath);
    EXPECT_FALSE(stored.ModernLinks);
    EXPECT_EQ(indexPage(f).InvalidLinks.size(), 2u);

    runSettingsDialog(
        *f.form, [](SettingsDialog &d) { d.ModernLinks->click(); }, false);
    EXPECT_EQ(indexPage(f).InvalidLinks.size(), 2u) << "cancelled: nothing changed";
    runSettingsDialog(
        *f.form, [](SettingsDialog &d) { d.ModernLinks->click(); }, true);
    EXPECT_TRUE(indexPage(f).InvalidLinks.empty());
}

TEST(SettingsDialog, ControlsShowAndEditTheirOptions)
{
    FormFixture f;
    f.dir.write("orvane.ini", "[Option]\r\nCheckLocalFile=-3\r\nExternalEditor=/usr/bin/ed\r\n");
    runSettingsDialog(
        *f.form,
        [](SettingsDialog &d) {
            EXPECT_EQ(d.windowTitle(), "Orvane - 設定");
            EXPECT_EQ(d.height(), 380);
            EXPECT_GE(d.width(), 433); // wider only where the captions need it
            EXPECT_EQ(d.ExternalEditor->text(), "/usr/bin/ed");
            EXPECT_EQ(d.commandlineoption->text(), "%F");
            EXPECT_TRUE(d.AnchorMakesFileBlue->isChecked());
            EXPECT_TRUE(d.IgnoreJavaScript->isChecked());
            // -1: neither treatment of file:// links is chosen
            EXPECT_FALSE(d.CheckLocalFileChoices[0]->isChecked());
            EXPECT_FALSE(d.CheckLocalFileChoices[1]->isChecked());
            d.CheckLocalFileChoices[1]->click();
            d.HideInfoBoxAfterCheck->click();
            d.externalViewer->setText("/usr/bin/viewer");
            d.tabs->setCurrentIndex(2);
        },
        true);
    Settings stored;
    LoadSettings(stored, f.iniPath);
    EXPECT_EQ(stored.CheckLocalFile, 1);
    EXPECT_TRUE(stored.HideInfoBoxAfterCheck);
    EXPECT_EQ(stored.ExternalViewer, "/usr/bin/viewer");
    EXPECT_EQ(stored.ExternalEditor, "/usr/bin/ed");

    // The page last shown comes back with the next opening.
    runSettingsDialog(
        *f.form, [](SettingsDialog &d) { EXPECT_EQ(d.tabs->currentIndex(), 2); }, false);
}

TEST(SettingsDialog, BrowseButtonsFillTheirFieldOnlyWhenAFileIsChosen)
{
    FormFixture f;
    const std::string program = f.dir.write("bin/editor", "#!/bin/sh\n");
    runSettingsDialog(
        *f.form,
        [&](SettingsDialog &d) {
            test::cancelNextFileDialog();
            d.ViewerBrowseButton->click();
            EXPECT_EQ(d.externalViewer->text(), ""); // untouched, also when empty
            test::chooseInNextFileDialog(QString::fromStdString(program));
            d.EditorBrowseButton->click();
            EXPECT_EQ(d.ExternalEditor->text(), QString::fromStdString(program));
            EXPECT_EQ(d.settings.ExternalEditor, program);
        },
        false);
    EXPECT_EQ(f.form->settingsDialog->settings.ExternalEditor, "");
}

TEST(SettingsDialog, EditorChoicesFillThePathAndBothTemplates)
{
    FormFixture f;
    const std::string kate = f.dir.write("bin/kate", "#!/bin/sh\n");
    const std::string mousepad = f.dir.write("bin/mousepad", "#!/bin/sh\n");
    ASSERT_EQ(::chmod(kate.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(mousepad.c_str(), 0755), 0);
    f.form->settingsDialog->editorSearchPath = f.dir.path() + "bin";
    runSettingsDialog(
        *f.form,
        [&](SettingsDialog &d) {
            d.fillEditorChoices();
            const QList<QAction *> choices = d.editorChoiceMenu->actions();
            ASSERT_EQ(choices.size(), 2);
            EXPECT_EQ(choices[0]->text(), QString::fromStdString("kate  (" + kate + ")"));
            EXPECT_EQ(choices[1]->text(), QString::fromStdString("mousepad  (" + mousepad + ")"));
            choices[1]->trigger();
            EXPECT_EQ(d.ExternalEditor->text(), QString::fromStdString(mousepad));
            EXPECT_EQ(d.commandlineoption->text(), "%F");
            EXPECT_EQ(d.TagJumpCommandlineoption->text(), "--line=%N %F");
            EXPECT_EQ(d.settings.TagJumpCommandLineOption, "--line=%N %F");

            d.editorSearchPath = f.dir.path() + "nothing";
            d.fillEditorChoices(); // what the menu does each time it opens
            ASSERT_EQ(d.editorChoiceMenu->actions().size(), 1);
            EXPECT_FALSE(d.editorChoiceMenu->actions()[0]->isEnabled());
        },
        true);
    Settings stored;
    LoadSettings(stored, f.iniPath);
    EXPECT_EQ(stored.ExternalEditor, mousepad);
    EXPECT_EQ(stored.TagJumpCommandLineOption, "--line=%N %F");
}

TEST(SettingsDialog, IgnoreCaseRecheckOverAnEmptyTreeDoesNothingHarmful)
{
    FormFixture f;
    runSettingsDialog(
        *f.form, [](SettingsDialog &d) { d.ignoreCase->click(); }, true);
    EXPECT_TRUE(f.recorder->boxes.empty());
    EXPECT_EQ(f.form->site().BusyCount, 0);
    EXPECT_TRUE(f.form->OpenButton->isEnabled());
}

} // namespace
} // namespace orvane
