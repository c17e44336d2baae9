#pragma once

#include "project/projectview.h"
#include "ui/listboxview.h"

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
class TFileObject;
class TOrvaneProject;
class TSHBrowseForFolderEx;

/// The project window: shows the project's folders and lists, which the
/// project model writes through the view interface, and edits the project only
/// through the model's operations. Closing it only hides it.
class TProjectForm : public QWidget, public ProjectView
{
    Q_OBJECT

public:
    /// mainWindow is the window whose title follows the project and that a
    /// jump to a file brings forward.
    TProjectForm(QtHost &host, QWidget *mainWindow);
    ~TProjectForm() override;

    /// What the handlers act on; openFolder is the main window's folder
    /// command. Detached (all null) the handlers do nothing.
    void attach(Site *site, TOrvaneProject *project, std::function<void()> openFolder);

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
    QPushButton *BitBtn1;
    QPushButton *WildCardDelete;
    QLabel *StatusBar1;
    TSHBrowseForFolderEx *BrowseForServerFolder;
    TSHBrowseForFolderEx *BrowseForIgnoreFolder;

    void TopFileListDblClick();
    void IgnoreFileListDblClick();
    void TopFileListKeyDown(int key);
    void IgnoreFileListKeyDown(int key);
    void WildCardListKeyDown(int key);
    void WildCardAddClick();
    void WildCardDeleteClick();
    void BitBtn1Click();
    void HomeButtonClick();
    void ServerRootButtonClick();

protected:
    /// Refuses the close and hides the window instead.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Release = std::function<void(const std::string &entry, TFileObject *object)>;

    void buildFolderArea(QWidget *area);
    QWidget *buildListArea(QListWidget *&list, const QString &caption, const QPixmap &icon);
    QWidget *buildPatternArea();
    void jumpTo(QListWidget &list, const ListBoxView &view);
    void deleteSelected(QListWidget &list, const ListBoxView &view, const Release &release);
    void command(const std::function<void()> &work);

    QtHost &m_host;
    QPointer<QWidget> m_mainWindow;
    Site *m_site = nullptr;
    TOrvaneProject *m_project = nullptr;
    std::function<void()> m_openFolder;
    ListBoxView m_topFiles;
    ListBoxView m_ignoreFiles;
    ListBoxView m_wildCards;
};

} // namespace orvane
