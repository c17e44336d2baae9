#pragma once

#include "commands/browser.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolButton;

namespace orvane {

class FileTreeModel;
class Launcher;
class LinkMenu;
class ReplaceDialog;
class TreeMenu;
class WebBrowser;
class FileTreeView;
class QtHost;
class Site;
class AboutDialog;
class SettingsDialog;
class Project;
class ProjectWindow;
class TreeNode;
class FolderDialog;

/// The main window: the tool buttons and the site tree on the left, the three
/// link lists of the selected page on the right, the status strip below. It
/// owns, for the whole run, the project, the project window, the settings
/// dialog (with the settings) and the site the engine works on.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    /// settingsPath is the settings file (window positions included); the
    /// editor, the viewer and the browser are started through launcher, the
    /// browser as found once at start-up. desktop finds the default
    /// application for a file when no editor or viewer is set; without it
    /// there is none.
    MainWindow(std::string settingsPath, Launcher &launcher, const BrowserCommand &browser,
               BrowserLookup desktop = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    Site &site() const { return *m_site; }
    QtHost &host() const { return *m_host; }
    FileTreeModel *treeModel() const { return m_treeModel; }
    const std::string &settingsPath() const { return m_settingsPath; }

    QWidget *LeftPanel;
    QWidget *ButtonPanel;
    QToolButton *OpenButton;
    QToolButton *OpenProjectBtn;
    QToolButton *SaveProjectBtn;
    QToolButton *ReopenButton;
    QToolButton *StopButton;
    QToolButton *OptionButton;
    QToolButton *AboutButton;
    QLabel *selectedFolderPanel;
    FileTreeView *siteTree;
    QSplitter *splitter;
    QTabWidget *tabs;
    QWidget *fileInfoPage;
    QLabel *validLinksHeader;
    QLabel *invalidLinksHeader;
    QLabel *externalLinksHeader;
    QListWidget *validLinksList;
    QListWidget *invalidLinksList;
    QListWidget *externalLinksList;
    /// The second tab: the pages that link to the selected file, and above
    /// them, for an orphan, why it is one.
    QWidget *referrersPage;
    QLabel *orphanReasonLabel;
    QListWidget *referrersList;
    QWidget *BottomPanel;
    QLabel *status;
    QLabel *CountPanel;
    QLabel *fileCountLabel;
    /// The tree's context menu and the menu of a click in a link list; the
    /// tree and link commands fill them.
    QMenu *treeMenu;
    QMenu *linkMenu;
    FolderDialog *folderDialog;
    QFileDialog *OpenProjectDialog;
    QFileDialog *SaveProjectDialog;

    std::unique_ptr<Project> project;
    ProjectWindow *projectWindow = nullptr;
    SettingsDialog *settingsDialog = nullptr;
    AboutDialog *aboutDialog = nullptr;
    std::unique_ptr<ReplaceDialog> replaceDialog;
    TreeMenu *treeMenuItems = nullptr;
    LinkMenu *linkMenuItems = nullptr;

    bool IgnoreNextTreeChange = false;
    /// The text of the link-list entry clicked last.
    std::string ClickedLink;

    void OpenButtonClick();
    void OpenProjectBtnClick();
    void SaveProjectBtnClick();
    void ReopenButtonClick();
    void StopButtonClick();
    void OptionButtonClick();
    void AboutButtonClick();
    void siteTreeSelectionChanged(TreeNode *node);
    void OpenWithExternalAppClick();
    void OpenWithBrowserClick();
    /// A click on a referring page: the page is selected in the tree, its
    /// link lists shown with the link that leads here current, and the link
    /// menu opens on that link (its tag jump opens the page at the link).
    void referrerClicked(QListWidgetItem *item);
    WebBrowser &browser() const { return *m_browser; }

    /// Opens a project file; a later save proposes the same file.
    void OpenProject(const std::string &path);
    /// What a drop does with the dropped paths: one folder is checked, one
    /// project file opened, one other file checks its folder. Anything else,
    /// and any drop while a command runs, is ignored.
    void DropFiles(const std::vector<std::string> &paths);
    /// The program's arguments (without the program name), once the window is
    /// shown: a first one naming a folder is checked as a dropped folder is
    /// (taken from the current folder when relative), any other is opened as a
    /// project file.
    void ProcessCommandLine(const std::vector<std::string> &arguments);

    /// Runs a command under the program's error handler.
    void runCommand(const std::function<void()> &command);
    /// The file name the save dialog proposes.
    const std::string &saveDialogFileName() const { return m_saveFileName; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildLayout();
    QWidget *buildLeftPane();
    QWidget *buildLinkPage();
    QWidget *buildReferrersPage();
    void showReferrer(const std::string &page, const std::string &link);
    QWidget *buildBottomStrip();
    QToolButton *toolButton(int x, const char *glyph, const QString &caption, const QString &hint,
                            bool latinCaption);
    void buildDialogs();
    void buildMenus();
    void FormCreate();
    void FormClose();
    bool busy() const;

    std::string m_settingsPath;
    QtHost *m_host;
    Launcher &m_launcher;
    BrowserLookup m_desktop;
    std::unique_ptr<WebBrowser> m_browser;
    std::unique_ptr<Site> m_site;
    FileTreeModel *m_treeModel = nullptr;
    std::string m_saveFileName;
    bool m_closed = false;
    bool m_closePending = false;
};

} // namespace orvane
