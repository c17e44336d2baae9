#include "ui/mainwindow.h"

#include "base/errors.h"
#include "base/strutil.h"
#include "base/urlpath.h"
#include "commands/browser.h"
#include "commands/launcher.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/site.h"
#include "project/project.h"
#include "settings/settings.h"
#include "ui/aboutdialog.h"
#include "ui/captionedtoolbutton.h"
#include "ui/commandguard.h"
#include "ui/displaytext.h"
#include "ui/filetreemodel.h"
#include "ui/filetreeview.h"
#include "ui/folderdialog.h"
#include "ui/hintdelegate.h"
#include "ui/linkmenu.h"
#include "ui/projectwindow.h"
#include "ui/qthost.h"
#include "ui/replacedialog.h"
#include "ui/settingsdialog.h"
#include "ui/treeimages.h"
#include "ui/treemenu.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace orvane {

namespace {

constexpr const char *StartPrompt =
    QT_TRANSLATE_NOOP("orvane::MainWindow", "ホームページのフォルダをドロップして下さい");

// A dropped path had to fit a buffer of 256 bytes.
constexpr size_t MaxDroppedPath = 255;

QLabel *headerPanel(const QString &caption, int height, QWidget *parent)
{
    auto *panel = new QLabel(caption, parent);
    panel->setFixedHeight(height);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setIndent(4);
    return panel;
}

QWidget *linkPanel(QLabel *&header, QListWidget *&list, const QString &caption, int headerHeight,
                   QWidget *parent)
{
    auto *panel = new QWidget(parent);
    header = headerPanel(caption, headerHeight, panel);
    list = new QListWidget(panel);
    list->setUniformItemSizes(true);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(list, 1);
    return panel;
}

QLabel *sunkenLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

/// The folder that holds a file: the path up to its last "/", without that
/// "/" unless only the root would be left.
std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace

MainWindow::MainWindow(std::string settingsPath, Launcher &launcher, const BrowserCommand &browser,
                       BrowserLookup desktop, QWidget *parent)
    : QWidget(parent)
    , m_settingsPath(std::move(settingsPath))
    , m_host(new QtHost(this))
    , m_launcher(launcher)
    , m_desktop(std::move(desktop))
    , m_browser(std::make_unique<WebBrowser>(browser, launcher))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Orvane"));
    setFont(japaneseFont(12));
    resize(589, 498);
    buildLayout();
    buildDialogs();
    m_host->setDisplays({status,
                         CountPanel,
                         fileCountLabel,
                         {validLinksList, invalidLinksList, externalLinksList},
                         referrersList,
                         orphanReasonLabel});
    m_host->setDialogParent(this);
    connect(m_host, &QtHost::idle, this, [this] {
        if (m_closePending)
            QTimer::singleShot(0, this, &QWidget::close);
    });
    FormCreate();
}

MainWindow::~MainWindow()
{
    FormClose();
}

void MainWindow::buildLayout()
{
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildLeftPane());
    tabs = new QTabWidget(splitter);
    fileInfoPage = buildLinkPage();
    tabs->addTab(fileInfoPage, tr("HTMLファイルの情報"));
    referrersPage = buildReferrersPage();
    tabs->addTab(referrersPage, tr("このファイルへのリンク"));
    splitter->addWidget(tabs);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({281, 305});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter, 1);
    layout->addWidget(buildBottomStrip());
}

QToolButton *MainWindow::toolButton(int x, const char *glyph, const QString &caption,
                                    const QString &hint, bool latinCaption)
{
    auto *button = new CaptionedToolButton(ButtonPanel);
    button->setIcon(buttonIcon(glyph));
    button->setIconSize(QSize(20, 20));
    button->setText(caption);
    button->setToolTip(hint);
    button->setGeometry(x, 4, 41, 41);
    if (latinCaption)
        button->setFont(captionFont(11));
    return button;
}

QWidget *MainWindow::buildLeftPane()
{
    LeftPanel = new QWidget(this);
    ButtonPanel = new QWidget(LeftPanel);
    ButtonPanel->setFixedHeight(49);
    ButtonPanel->setMinimumWidth(281);
    OpenButton = toolButton(0, "folder", tr("&Folder"), tr("ホームページのフォルダを開く"), true);
    OpenProjectBtn = toolButton(40, "open", tr("&Open"), tr("Projectファイルを開く"), false);
    SaveProjectBtn = toolButton(80, "save", tr("&Save"), tr("Projectファイルの保存"), false);
    ReopenButton = toolButton(120, "reopen", tr("&Reopen"), tr("現在のフォルダを開き直す"), true);
    StopButton = toolButton(160, "halt", tr("&Halt"), QString(), true);
    OptionButton = toolButton(200, "config", tr("&Config"), tr("いろいろ設定する"), true);
    AboutButton = toolButton(240, "about", tr("&About"), tr("Orvaneについて"), true);
    connect(OpenButton, &QToolButton::clicked, this, &MainWindow::OpenButtonClick);
    connect(OpenProjectBtn, &QToolButton::clicked, this, &MainWindow::OpenProjectBtnClick);
    connect(SaveProjectBtn, &QToolButton::clicked, this, &MainWindow::SaveProjectBtnClick);
    connect(ReopenButton, &QToolButton::clicked, this, &MainWindow::ReopenButtonClick);
    connect(StopButton, &QToolButton::clicked, this, &MainWindow::StopButtonClick);
    connect(OptionButton, &QToolButton::clicked, this, &MainWindow::OptionButtonClick);
    connect(AboutButton, &QToolButton::clicked, this, &MainWindow::AboutButtonClick);

    selectedFolderPanel = sunkenLabel(tr("指定フォルダ以下の全ファイル"), LeftPanel);
    selectedFolderPanel->setFixedHeight(17);
    siteTree = new FileTreeView(LeftPanel);
    treeMenu = new QMenu(siteTree);
    connect(siteTree, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!treeMenu->isEmpty())
            treeMenu->popup(siteTree->viewport()->mapToGlobal(pos));
    });
    connect(siteTree, &FileTreeView::nodeSelectionChanged, this,
            &MainWindow::siteTreeSelectionChanged);

    auto *layout = new QVBoxLayout(LeftPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ButtonPanel);
    layout->addWidget(selectedFolderPanel);
    layout->addWidget(siteTree, 1);
    return LeftPanel;
}

QWidget *MainWindow::buildLinkPage()
{
    auto *page = new QWidget;
    auto *splitter = new QSplitter(Qt::Vertical, page);
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(
        linkPanel(validLinksHeader, validLinksList, tr("有効リンク"), 23, splitter));
    splitter->addWidget(
        linkPanel(invalidLinksHeader, invalidLinksList, tr("無効リンク"), 24, splitter));
    invalidLinksList->setItemDelegate(new HintDelegate(QtHost::HintRole, invalidLinksList));
    splitter->addWidget(
        linkPanel(externalLinksHeader, externalLinksList, tr("外部リンク"), 24, splitter));
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({137, 140, 156});
    linkMenu = new QMenu(page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    return page;
}

QWidget *MainWindow::buildReferrersPage()
{
    auto *page = new QWidget;
    orphanReasonLabel = new QLabel(page);
    orphanReasonLabel->setTextFormat(Qt::PlainText);
    orphanReasonLabel->setIndent(4);
    orphanReasonLabel->setVisible(false);
    referrersList = new QListWidget(page);
    referrersList->setUniformItemSizes(true);
    connect(referrersList, &QListWidget::itemClicked, this, &MainWindow::referrerClicked);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(orphanReasonLabel);
    layout->addWidget(referrersList, 1);
    return page;
}

void MainWindow::referrerClicked(QListWidgetItem *item)
{
    if (!item || busy())
        return;
    const std::string page = item->data(QtHost::PageRole).toByteArray().toStdString();
    const std::string link = item->data(QtHost::LinkRole).toByteArray().toStdString();
    // Selecting the page refills this list, the clicked item with it: that
    // waits until the click has been handled.
    QTimer::singleShot(0, this, [this, page, link] { showReferrer(page, link); });
}

void MainWindow::showReferrer(const std::string &page, const std::string &link)
{
    if (busy())
        return;
    TreeNode *node = m_site->FindFileNode(page, false);
    if (!node)
        return;
    m_site->tree.Select(node);
    tabs->setCurrentWidget(fileInfoPage);
    for (int row = 0; row < validLinksList->count(); ++row) {
        if (validLinksList->item(row)->data(QtHost::LinkRole).toByteArray().toStdString() == link) {
            validLinksList->setCurrentRow(row);
            validLinksList->scrollToItem(validLinksList->item(row));
            break;
        }
    }
    linkMenuItems->ShowLinkMenuFor(link);
}

QWidget *MainWindow::buildBottomStrip()
{
    BottomPanel = new QWidget(this);
    BottomPanel->setFixedHeight(20);
    status = new QLabel(tr(StartPrompt), BottomPanel);
    status->setTextFormat(Qt::PlainText); // file names are never markup
    CountPanel = sunkenLabel(tr("count"), BottomPanel);
    CountPanel->setFixedWidth(88);
    fileCountLabel = sunkenLabel(tr("総ファイル数"), BottomPanel);
    fileCountLabel->setFixedWidth(149);
    auto *layout = new QHBoxLayout(BottomPanel);
    layout->setContentsMargins(2, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(status, 1);
    layout->addWidget(CountPanel);
    layout->addWidget(fileCountLabel);
    return BottomPanel;
}

void MainWindow::buildDialogs()
{
    folderDialog = new FolderDialog(this);
    folderDialog->Caption = tr("ホームページのフォルダを指定して下さい");
    folderDialog->Options = sboReturnOnlyFSDirs | sboStatusTextAndShowPath;

    // "All files" is "*" here: a name need not contain a dot.
    OpenProjectDialog = new QFileDialog(this, tr("プロジェクトファイルを開く"));
    OpenProjectDialog->setNameFilters(
        {tr("Orvaneプロジェクトファイル(*.ovp)"), tr("すべてのファイル(*)")});
    OpenProjectDialog->setFileMode(QFileDialog::ExistingFile);
    OpenProjectDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenProjectDialog->setOption(QFileDialog::DontUseNativeDialog, true);

    SaveProjectDialog = new QFileDialog(this, tr("プロジェクトファイルを保存"));
    SaveProjectDialog->setNameFilter(tr("Orvaneプロジェクトファイル(*.ovp)"));
    SaveProjectDialog->setDefaultSuffix(QStringLiteral("ovp"));
    SaveProjectDialog->setFileMode(QFileDialog::AnyFile);
    SaveProjectDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveProjectDialog->setOption(QFileDialog::DontUseNativeDialog, true);
}

void MainWindow::FormCreate()
{
    IgnoreNextTreeChange = true;
    projectWindow = new ProjectWindow(*m_host, this);
    project = std::make_unique<Project>(*projectWindow);
    // Creating the settings dialog puts both windows where they were last.
    settingsDialog = new SettingsDialog(this, projectWindow, m_settingsPath);
    LoadSettings(settingsDialog->settings, m_settingsPath);
    m_site = std::make_unique<Site>(*m_host, settingsDialog->settings, *project);
    buildMenus();
    treeMenuItems->setOpenShortcuts();
    projectWindow->attach(m_site.get(), project.get(), [this] { OpenButtonClick(); });
    m_host->setBusyControls(
        {{OpenButton, OpenProjectBtn, SaveProjectBtn, OptionButton, AboutButton},
         ReopenButton,
         StopButton,
         projectWindow->busyControls()});
    m_site->BusyCount = 1;
    m_site->EndBusy();
    // Leaving the busy state clears the status line; the first thing the
    // user reads is still what to do.
    m_host->setStatus(tr(StartPrompt).toStdString());
    setAcceptDrops(true);
    m_treeModel = new FileTreeModel(m_site->tree, this);
    siteTree->setTreeModel(m_treeModel);
    QCoreApplication::processEvents();
    // The tree starts with its root selected; that first change is the one
    // siteTreeSelectionChanged lets pass.
    m_site->tree.Select(m_site->tree.Root());
    aboutDialog = new AboutDialog(this);
    aboutDialog->openAddress = [this](const std::string &address) {
        runCommand([this, &address] { m_browser->OpenInBrowser(address); });
    };
    m_host->flushDisplays();
}

void MainWindow::buildMenus()
{
    const auto run = [this](const std::function<void()> &command) { runCommand(command); };
    treeMenuItems =
        new TreeMenu(*treeMenu, *siteTree, *m_site,
                     {run, [this] { OpenWithExternalAppClick(); },
                      [this] { OpenWithBrowserClick(); }, [this] { projectWindow->show(); }});
    connect(siteTree, &FileTreeView::treeDoubleClicked, treeMenuItems,
            &TreeMenu::treeDoubleClicked);
    replaceDialog = std::make_unique<ReplaceDialog>();
    linkMenuItems =
        new LinkMenu(*linkMenu, *m_site, m_launcher, m_desktop, *replaceDialog, ClickedLink,
                     {run, [this](const QPoint &at) { linkMenu->popup(at); }});
    for (QListWidget *list : {validLinksList, invalidLinksList, externalLinksList})
        linkMenuItems->watch(*list);
}

void MainWindow::OpenWithExternalAppClick()
{
    runCommand([this] { orvane::OpenWithExternalAppClick(*m_site, m_launcher, m_desktop); });
}

void MainWindow::OpenWithBrowserClick()
{
    runCommand([this] { orvane::OpenWithBrowserClick(*m_site, *m_browser); });
}

void MainWindow::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    siteTree->setTreeModel(nullptr);
    delete m_treeModel;
    m_treeModel = nullptr;
    projectWindow->attach(nullptr, nullptr, {});
    runCommand([this] {
        m_site->FileObjects.DestroyAll();
        ORVANE_ASSERT(m_site->FileObjects.empty(), "mainform");
    });
    m_site.reset();
    project.reset();
    delete settingsDialog; // stores the window positions while both windows exist
    settingsDialog = nullptr;
    delete projectWindow;
    projectWindow = nullptr;
}

bool MainWindow::busy() const
{
    return m_site && m_site->BusyCount > 0;
}

void MainWindow::runCommand(const std::function<void()> &command)
{
    orvane::runCommand(*m_host, command);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (busy()) {
        // The running command still works on the site: it is halted, and the
        // window closes once it has returned.
        m_site->HaltRequested = true;
        m_closePending = true;
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void MainWindow::OpenButtonClick()
{
    runCommand([this] {
        if (busy() || !folderDialog->Execute())
            return;
        const QString folder = folderDialog->FolderPath();
        OpenFolder(*m_site, pathBytes(folder));
        folderDialog->SelectFolder = SpecialFolder::Manual;
        folderDialog->SelectFolderName = folder;
    });
}

void MainWindow::OpenProject(const std::string &path)
{
    runCommand([this, &path] {
        if (FileExists(path))
            m_saveFileName = path;
        orvane::OpenProject(*m_site, path);
    });
}

void MainWindow::OpenProjectBtnClick()
{
    if (OpenProjectDialog->exec() != QDialog::Accepted ||
        OpenProjectDialog->selectedFiles().isEmpty())
        return;
    OpenProject(pathBytes(OpenProjectDialog->selectedFiles().first()));
}

void MainWindow::SaveProjectBtnClick()
{
    runCommand([this] {
        if (!m_saveFileName.empty())
            SaveProjectDialog->selectFile(
                QFile::decodeName(QByteArray::fromStdString(m_saveFileName)));
        if (SaveProjectDialog->exec() != QDialog::Accepted ||
            SaveProjectDialog->selectedFiles().isEmpty())
            return;
        m_saveFileName = pathBytes(SaveProjectDialog->selectedFiles().first());
        SaveProject(*m_site, m_saveFileName);
    });
}

void MainWindow::ReopenButtonClick()
{
    runCommand([this] { ReopenFolder(*m_site); });
}

void MainWindow::StopButtonClick()
{
    m_site->HaltRequested = true;
}

void MainWindow::OptionButtonClick()
{
    runCommand([this] {
        Settings &settings = settingsDialog->settings;
        LoadSettings(settings, m_settingsPath);
        // Both options change which links hold, so the open tree is
        // classified again at once when either changed.
        const bool ignoreCase = settings.IgnoreCase;
        const bool modernLinks = settings.ModernLinks;
        if (settingsDialog->Execute())
            SaveSettings(settings, m_settingsPath, *m_host);
        else
            LoadSettings(settings, m_settingsPath);
        if (settings.IgnoreCase != ignoreCase || settings.ModernLinks != modernLinks)
            RecheckLinks(*m_site);
    });
}

void MainWindow::AboutButtonClick()
{
    aboutDialog->exec();
}

void MainWindow::siteTreeSelectionChanged(TreeNode *)
{
    if (IgnoreNextTreeChange) {
        IgnoreNextTreeChange = false;
        return;
    }
    if (!OpenButton->isEnabled())
        return; // a command is running: the lists stay as they are
    runCommand([this] {
        BusyScope busy(*m_site);
        ShowLinkLists(*m_site, m_site->tree.Selected());
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    std::vector<std::string> paths;
    for (const QUrl &url : event->mimeData()->urls())
        paths.push_back(url.isLocalFile() ? pathBytes(url.toLocalFile())
                                          : url.toString().toStdString());
    event->acceptProposedAction();
    DropFiles(paths);
}

void MainWindow::DropFiles(const std::vector<std::string> &paths)
{
    // A drop during a command would rebuild the tree under it.
    if (paths.size() != 1 || busy())
        return;
    activateWindow();
    raise();
    const std::string &path = paths.front();
    struct stat st
    {
    };
    if (path.size() > MaxDroppedPath || ::stat(path.c_str(), &st) != 0)
        return;
    runCommand([&] {
        if (S_ISDIR(st.st_mode))
            OpenFolder(*m_site, path);
        else if (AsciiUpper(ExtractFileExt(path)) == ".OVP")
            OpenProject(path);
        else
            OpenFolder(*m_site, folderOf(path));
    });
}

void MainWindow::ProcessCommandLine(const std::vector<std::string> &arguments)
{
    if (arguments.empty())
        return;
    show();
    const std::string &first = arguments.front();
    // A folder is checked as a dropped one is; anything else is taken for a
    // project file, which also says when the path names nothing.
    if (DirectoryExists(first))
        runCommand([&first, this] { OpenFolder(*m_site, ExpandFileName(first)); });
    else
        OpenProject(first);
}

} // namespace orvane
