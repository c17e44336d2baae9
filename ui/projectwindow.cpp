#include "ui/projectwindow.h"

#include "base/errors.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/site.h"
#include "project/project.h"
#include "ui/commandguard.h"
#include "ui/displaytext.h"
#include "ui/folderdialog.h"
#include "ui/qthost.h"
#include "ui/treeimages.h"

#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane {

namespace {

constexpr const char *Unit = "UProjectForm";

int firstSelectedRow(const QListWidget &list)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->isSelected())
            return i;
    return -1;
}

int selectedCount(const QListWidget &list)
{
    return static_cast<int>(list.selectedItems().size());
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QLabel *headerIcon(const QPixmap &pixmap, QWidget *parent)
{
    auto *icon = new QLabel(parent);
    icon->setPixmap(pixmap);
    icon->setFixedSize(TreeImages::Size, TreeImages::Size);
    return icon;
}

} // namespace

ProjectWindow::ProjectWindow(QtHost &host, QWidget *mainWindow)
    : QWidget(mainWindow,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , TopFileList(new QListWidget(this))
    , IgnoreFileList(new QListWidget(this))
    , WildCardList(new QListWidget(this))
    , m_host(host)
    , m_mainWindow(mainWindow)
    , m_topFiles(*TopFileList, false)
    , m_ignoreFiles(*IgnoreFileList, true)
    , m_wildCards(*WildCardList, false)
{
    setObjectName(QStringLiteral("ProjectWindow"));
    setWindowTitle(tr("プロジェクト情報"));
    setFont(japaneseFont(12));
    resize(401, 489);

    auto *folderArea = new QWidget(this);
    folderArea->setFixedHeight(73);
    buildFolderArea(folderArea);

    TreeImages images;
    const qreal dpr = devicePixelRatioF();
    QWidget *topArea =
        buildListArea(TopFileList, tr("TOPファイル"), images.picture(ImgTopPage, dpr));
    QWidget *ignoreArea =
        buildListArea(IgnoreFileList, tr("チェック対象から外すファイル"),
                      images.decoration(NoImage, ImgBlankPage, OverlayExcluded, dpr));
    TopFileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    IgnoreFileList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(topArea);
    splitter->addWidget(ignoreArea);
    splitter->addWidget(buildPatternArea());
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({136, 111, 140});

    statusBar =
        new QLabel(tr("ファイルをダブルクリックすると、該当ファイルへジャンプします"), this);
    statusBar->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(folderArea);
    layout->addWidget(splitter, 1);
    layout->addWidget(statusBar);

    BrowseForServerFolder = new FolderDialog(this);
    BrowseForServerFolder->Caption = tr("サーバーのルートに対応するフォルダを指定して下さい");
    BrowseForIgnoreFolder = new FolderDialog(this);
    BrowseForIgnoreFolder->Caption = tr("存在を無視するフォルダを指定してください");

    connect(TopFileList, &QListWidget::itemDoubleClicked, this,
            &ProjectWindow::TopFileListDblClick);
    connect(IgnoreFileList, &QListWidget::itemDoubleClicked, this,
            &ProjectWindow::IgnoreFileListDblClick);
    connect(WildCardAdd, &QPushButton::clicked, this, &ProjectWindow::WildCardAddClick);
    connect(WildCardDelete, &QPushButton::clicked, this, &ProjectWindow::WildCardDeleteClick);
    connect(addFolderButton, &QPushButton::clicked, this, &ProjectWindow::addFolderButtonClick);
    connect(HomeButton, &QToolButton::clicked, this, &ProjectWindow::HomeButtonClick);
    connect(ServerRootButton, &QToolButton::clicked, this, &ProjectWindow::ServerRootButtonClick);
    for (QWidget *watched :
         {static_cast<QWidget *>(TopFileList), static_cast<QWidget *>(IgnoreFileList),
          static_cast<QWidget *>(WildCardList), static_cast<QWidget *>(WildCardEdit)})
        watched->installEventFilter(this);
}

ProjectWindow::~ProjectWindow() = default;

void ProjectWindow::buildFolderArea(QWidget *area)
{
    const auto folderButton = [area](const QIcon &icon) {
        auto *button = new QToolButton(area);
        button->setIcon(icon);
        button->setIconSize(QSize(18, 18));
        button->setAutoRaise(true);
        button->setFixedSize(25, 25);
        return button;
    };
    HomeButton = folderButton(TreeImages::icon(ImgHome));
    ServerRootButton = folderButton(buttonIcon("server"));
    HomeDirLabel = new QLabel(tr("未設定"), area);
    ServerRootLabel = new QLabel(tr("未設定"), area);
    HomeDirLabel->setTextFormat(Qt::PlainText);
    ServerRootLabel->setTextFormat(Qt::PlainText);
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(0);
    grid->addWidget(HomeButton, 0, 0, 2, 1);
    grid->addWidget(new QLabel(tr("ホームページのフォルダ"), area), 0, 1);
    grid->addWidget(HomeDirLabel, 1, 1);
    grid->addWidget(ServerRootButton, 2, 0, 2, 1);
    grid->addWidget(new QLabel(tr("サーパーのルートに対応するフォルダ(管理者向け)"), area), 2, 1);
    grid->addWidget(ServerRootLabel, 3, 1);
    grid->setColumnStretch(1, 1);
}

QWidget *ProjectWindow::buildListArea(QListWidget *&list, const QString &caption,
                                      const QPixmap &icon)
{
    auto *area = new QWidget(this);
    auto *header = new QWidget(area);
    header->setFixedHeight(25);
    auto *headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(4, 0, 4, 0);
    headerLayout->addWidget(headerIcon(icon, header));
    headerLayout->addWidget(new QLabel(caption, header), 1);
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(list, 1);
    return area;
}

QWidget *ProjectWindow::buildPatternArea()
{
    auto *area = new QWidget(this);
    auto *header = new QLabel(tr("存在を無視するファイル（ワイルドカード指定）とフォルダ"), area);
    header->setContentsMargins(4, 4, 4, 4);
    WildCardList->setSelectionMode(QAbstractItemView::SingleSelection);

    auto *panel = new QWidget(area);
    panel->setFixedWidth(150);
    WildCardEdit = new QLineEdit(panel);
    WildCardAdd = new QPushButton(tr("ファイル追加"), panel);
    addFolderButton = new QPushButton(buttonIcon("addfolder"), tr("フォルダ追加..."), panel);
    WildCardDelete = new QPushButton(tr("削除"), panel);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(4, 0, 4, 4);
    for (QWidget *w :
         {static_cast<QWidget *>(WildCardEdit), static_cast<QWidget *>(WildCardAdd),
          static_cast<QWidget *>(addFolderButton), static_cast<QWidget *>(WildCardDelete)})
        panelLayout->addWidget(w);
    panelLayout->addStretch(1);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(WildCardList, 1);
    row->addWidget(panel);
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addLayout(row, 1);
    return area;
}

void ProjectWindow::attach(Site *site, Project *project, std::function<void()> openFolder)
{
    m_site = site;
    m_project = project;
    m_openFolder = std::move(openFolder);
}

void ProjectWindow::setHomeDirLabel(const std::string &text)
{
    HomeDirLabel->setText(displayText(text));
}

void ProjectWindow::setServerRootLabel(const std::string &text)
{
    ServerRootLabel->setText(displayText(text));
}

void ProjectWindow::setMainTitle(const std::string &title)
{
    if (m_mainWindow)
        m_mainWindow->setWindowTitle(displayText(title));
}

void ProjectWindow::setProjectTitle(const std::string &title)
{
    setWindowTitle(displayText(title));
}

std::vector<QPointer<QWidget>> ProjectWindow::busyControls() const
{
    // The folder buttons too: a folder opened from here while a scan runs
    // would rebuild the tree under the running command.
    return {TopFileList,    IgnoreFileList, WildCardList,     WildCardEdit,   WildCardAdd,
            WildCardDelete, HomeButton,     ServerRootButton, addFolderButton};
}

void ProjectWindow::command(const std::function<void()> &work)
{
    if (m_site && m_project)
        runCommand(m_host, work);
}

void ProjectWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

bool ProjectWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == WildCardEdit) {
        if (!isEnter(key))
            return false;
        WildCardAddClick(); // Enter adds and goes no further
        return true;
    }
    const bool handled = key == Qt::Key_Delete || (isEnter(key) && watched != WildCardList);
    if (!handled)
        return false;
    if (watched == TopFileList)
        TopFileListKeyDown(key);
    else if (watched == IgnoreFileList)
        IgnoreFileListKeyDown(key);
    else
        WildCardListKeyDown(key);
    return true;
}

void ProjectWindow::jumpTo(QListWidget &list, const WidgetListView &view)
{
    const int row = list.currentRow();
    if (row < 0)
        return;
    m_site->tree.Select(m_site->FindFileNode(view.textAt(row), true));
    if (m_mainWindow) {
        m_mainWindow->show();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
}

void ProjectWindow::TopFileListDblClick()
{
    command([this] { jumpTo(*TopFileList, m_topFiles); });
}

void ProjectWindow::IgnoreFileListDblClick()
{
    command([this] { jumpTo(*IgnoreFileList, m_ignoreFiles); });
}

void ProjectWindow::deleteSelected(QListWidget &list, const WidgetListView &view,
                                   const Release &release)
{
    const int oldPosition = std::max(list.currentRow(), 0);
    while (selectedCount(list) > 0) {
        const int row = firstSelectedRow(list);
        const int before = list.count();
        const std::string entry = view.textAt(row);
        // An entry may have no node: a page of a project whose folder was
        // never checked. It leaves the list all the same.
        TreeNode *node = m_site->FindFileNode(entry, true);
        release(entry, node ? node->Data() : nullptr);
        ORVANE_ASSERT(list.count() < before, Unit);
    }
    if (list.count() == 0)
        return;
    list.clearSelection();
    list.setCurrentRow(std::min(oldPosition, list.count() - 1),
                       QItemSelectionModel::ClearAndSelect);
    ORVANE_ASSERT(selectedCount(list) == 1, Unit);
}

void ProjectWindow::TopFileListKeyDown(int key)
{
    if (isEnter(key)) {
        TopFileListDblClick();
        return;
    }
    if (key != Qt::Key_Delete)
        return;
    command([this] {
        deleteSelected(*TopFileList, m_topFiles,
                       [this](const std::string &entry, FileObject *object) {
                           if (!object) {
                               m_project->RemoveTopFile(entry);
                               return;
                           }
                           object->SetReachState(ReachState::reached);
                           m_project->RemoveTopFile(object->FullPath);
                       });
    });
}

void ProjectWindow::IgnoreFileListKeyDown(int key)
{
    if (isEnter(key)) {
        IgnoreFileListDblClick();
        return;
    }
    if (key != Qt::Key_Delete)
        return;
    command([this] {
        deleteSelected(*IgnoreFileList, m_ignoreFiles,
                       [this](const std::string &entry, FileObject *object) {
                           if (!object) {
                               m_project->RemoveIgnoreFile(entry);
                               return;
                           }
                           object->SetIgnored(false);
                           m_project->RemoveIgnoreFile(object->FullPath);
                       });
    });
}

void ProjectWindow::WildCardListKeyDown(int key)
{
    if (key != Qt::Key_Delete)
        return;
    command([this] {
        const int position = WildCardList->currentRow();
        if (position < 0 || !WildCardList->item(position)->isSelected())
            return;
        m_project->RemoveWildCard(m_wildCards.textAt(position));
        const int count = WildCardList->count();
        if (count > 0)
            WildCardList->setCurrentRow(position < count ? position : count - 1);
    });
}

void ProjectWindow::WildCardAddClick()
{
    command([this] {
        if (WildCardEdit->text().isEmpty())
            return;
        m_project->AddWildCard(textBytes(WildCardEdit->text()));
        WildCardEdit->clear();
    });
}

void ProjectWindow::WildCardDeleteClick()
{
    command([this] {
        const int position = WildCardList->currentRow();
        if (position >= 0 && WildCardList->item(position)->isSelected())
            m_project->RemoveWildCard(m_wildCards.textAt(position));
    });
}

/// A site's folders are chosen below its home folder: there the chooser
/// opens, rather than at the top of the file system.
void ProjectWindow::startAtHomeFolder(FolderDialog &dialog) const
{
    if (!m_project || m_project->HomeDir().empty())
        return;
    dialog.SelectFolder = SpecialFolder::Manual;
    dialog.SelectFolderName = QFile::decodeName(QByteArray::fromStdString(m_project->HomeDir()));
}

void ProjectWindow::addFolderButtonClick()
{
    command([this] {
        startAtHomeFolder(*BrowseForIgnoreFolder);
        if (BrowseForIgnoreFolder->Execute())
            m_project->AddIgnoreFolder(pathBytes(BrowseForIgnoreFolder->FolderPath()));
    });
}

void ProjectWindow::HomeButtonClick()
{
    if (m_openFolder)
        m_openFolder();
}

void ProjectWindow::ServerRootButtonClick()
{
    command([this] {
        // Once a server root was chosen, the chooser reopens there instead.
        if (!m_serverRootChosen)
            startAtHomeFolder(*BrowseForServerFolder);
        if (!BrowseForServerFolder->Execute()) {
            m_project->SetServerRoot({}); // cancelling is how the server root is unset
            return;
        }
        m_project->SetServerRoot(pathBytes(BrowseForServerFolder->FolderPath()));
        BrowseForServerFolder->SelectFolder = SpecialFolder::Manual;
        BrowseForServerFolder->SelectFolderName = BrowseForServerFolder->FolderPath();
        m_serverRootChosen = true;
    });
}

} // namespace orvane
