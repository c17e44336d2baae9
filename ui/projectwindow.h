#pragma once

#include "project/projectview.h"
#include "ui/widgetlistview.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace orvane {

class QtHost;
class Site;
class FileObject;
class Project;
class FolderDialog;

/// The project window: shows the project's folders and lists, which the
/// project model writes through the view interface, and edits the project only
/// through the model's operations. Closing it only hides it.
class ProjectWindow : public QWidget, public ProjectView
{
    Q_OBJECT

public:
    /// mainWindow is the window whose title follows the project and that a
    /// jump to a file brings forward.
    ProjectWindow(QtHost &host, QWidget *mainWindow);
    ~ProjectWindow() override;

    /// What the handlers act on; openFolder is the main window's folder
    /// command. Detached (all null) the handlers do nothing.
    void attach(Site *site, Project *project, std::function<void()> openFolder);

    ProjectListView &topFileList() override { return m_topFiles; }
    ProjectListView &ignoreFileList() override { return m_ignoreFiles; }
    ProjectListView &wildCardList() override { return m_wildCards; }
    void setHomeDirLabel(const std::string &text) override;
    void setServerRootLabel(const std::string &text) override;
    void setMainTitle(const std::string &title) override;
    void setProjectTitle(const std::string &title) override;

    /// The controls that a running command disables.
    std::vector<QPointer<QWidget>> busyControls() const;

    QToolButton *HomeButton;
    QLabel *HomeDirLabel;
    QToolButton *ServerRootButton;
    QLabel *ServerRootLabel;
    QListWidget *TopFileList;
    QListWidget *IgnoreFileList;
    QListWidget *WildCardList;
    QLineEdit *WildCardEdit;
    QPushButton *WildCardAdd;
    QPushButton *addFolderButton;
    QPushButton *WildCardDelete;
    QLabel *statusBar;
    FolderDialog *BrowseForServerFolder;
    FolderDialog *BrowseForIgnoreFolder;

    void TopFileListDblClick();
    void IgnoreFileListDblClick();
    void TopFileListKeyDown(int key);
    void IgnoreFileListKeyDown(int key);
    void WildCardListKeyDown(int key);
    void WildCardAddClick();
    void WildCardDeleteClick();
    void addFolderButtonClick();
    void HomeButtonClick();
    void ServerRootButtonClick();

protected:
    /// Refuses the close and hides the window instead.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Release = std::function<void(const std::string &entry, FileObject *object)>;

    void buildFolderArea(QWidget *area);
    QWidget *buildListArea(QListWidget *&list, const QString &caption, const QPixmap &icon);
    QWidget *buildPatternArea();
    void jumpTo(QListWidget &list, const WidgetListView &view);
    void deleteSelected(QListWidget &list, const WidgetListView &view, const Release &release);
    void command(const std::function<void()> &work);
    void startAtHomeFolder(FolderDialog &dialog) const;

    QtHost &m_host;
    QPointer<QWidget> m_mainWindow;
    Site *m_site = nullptr;
    Project *m_project = nullptr;
    std::function<void()> m_openFolder;
    bool m_serverRootChosen = false;
    WidgetListView m_topFiles;
    WidgetListView m_ignoreFiles;
    WidgetListView m_wildCards;
};

} // namespace orvane
