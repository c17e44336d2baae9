#include "ui/mainform.h"

#include "base/errors.h"
#include "base/strutil.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/launcher.h"
#include "engine/openbrowser4.h"
#include "engine/site.h"
#include "project/orvaneprojct.h"
#include "settings/formoption.h"
#include "ui/about.h"
#include "ui/commandguard.h"
#include "ui/displaytext.h"
#include "ui/filetreemodel.h"
#include "ui/filetreeview.h"
#include "ui/formoptiondialog.h"
#include "ui/linkmenu.h"
#include "ui/qthost.h"
#include "ui/shbffex.h"
#include "ui/speedbutton.h"
#include "ui/treeimages.h"
#include "ui/treemenu.h"
#include "ui/uchikan.h"
#include "ui/uprojectform.h"

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

constexpr const char *StartPrompt = "ホームページのフォルダをドロップして下さい";

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

TForm1::TForm1(std::string settingsPath, Launcher &launcher, const BrowserCommand &browser,
               QWidget *parent)
    : QWidget(parent)
    , m_settingsPath(std::move(settingsPath))
    , m_host(new QtHost(this))
    , m_launcher(launcher)
    , m_browser(std::make_unique<WebBrowser>(browser, launcher))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvane"));
    setFont(japaneseFont(12));
    resize(589, 498);
    buildLayout();
    buildDialogs();
    m_host->setDisplays({status, CountPanel, StatusBar1, {ListBox1, ListBox2, ListBox3}});
    m_host->setDialogParent(this);
    connect(m_host, &QtHost::idle, this, [this] {
        if (m_closePending)
            QTimer::singleShot(0, this, &QWidget::close);
    });
    FormCreate();
}

TForm1::~TForm1()
{
    FormClose();
}

void TForm1::buildLayout()
{
    Splitter3 = new QSplitter(Qt::Horizontal, this);
    Splitter3->setHandleWidth(3);
    Splitter3->setChildrenCollapsible(false);
    Splitter3->addWidget(buildLeftPane());
    PageControl1 = new QTabWidget(Splitter3);
    FileInfo = buildLinkPage();
    PageControl1->addTab(FileInfo, QStringLiteral("HTMLファイルの情報"));
    Splitter3->addWidget(PageControl1);
    Splitter3->setStretchFactor(1, 1);
    Splitter3->setSizes({281, 305});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Splitter3, 1);
    layout->addWidget(buildBottomStrip());
}

QToolButton *TForm1::toolButton(int x, const char *glyph, const QString &caption,
                                const QString &hint, bool latinCaption)
{
    auto *button = new SpeedButton(ButtonPanel);
    button->setIcon(buttonIcon(glyph));
    button->setIconSize(QSize(20, 20));
    button->setText(caption);
    button->setToolTip(hint);
    button->setGeometry(x, 4, 41, 41);
    if (latinCaption)
        button->setFont(captionFont(11));
    return button;
}

QWidget *TForm1::buildLeftPane()
{
    LeftPanel = new QWidget(this);
    ButtonPanel = new QWidget(LeftPanel);
    ButtonPanel->setFixedHeight(49);
    ButtonPanel->setMinimumWidth(281);
    OpenButton = toolButton(0, "folder", QStringLiteral("&Folder"),
                            QStringLiteral("ホームページのフォルダを開く"), true);
    OpenProjectBtn = toolButton(40, "open", QStringLiteral("&Open"),
                                QStringLiteral("Projectファイルを開く"), false);
    SaveProjectBtn = toolButton(80, "save", QStringLiteral("&Save"),
                                QStringLiteral("Projectファイルの保存"), false);
    ReopenButton = toolButton(120, "reopen", QStringLiteral("&Reopen"),
                              QStringLiteral("現在のフォルダを開き直す"), true);
    StopButton = toolButton(160, "halt", QStringLiteral("&Halt"), QString(), true);
    OptionButton = toolButton(200, "config", QStringLiteral("&Config"),
                              QStringLiteral("いろいろ設定する"), true);
    AboutButton =
        toolButton(240, "about", QStringLiteral("&About"), QStringLiteral("Orvaneについて"), true);
    connect(OpenButton, &QToolButton::clicked, this, &TForm1::OpenButtonClick);
    connect(OpenProjectBtn, &QToolButton::clicked, this, &TForm1::OpenProjectBtnClick);
    connect(SaveProjectBtn, &QToolButton::clicked, this, &TForm1::SaveProjectBtnClick);
    connect(ReopenButton, &QToolButton::clicked, this, &TForm1::ReopenButtonClick);
    connect(StopButton, &QToolButton::clicked, this, &TForm1::StopButtonClick);
    connect(OptionButton, &QToolButton::clicked, this, &TForm1::OptionButtonClick);
    connect(AboutButton, &QToolButton::clicked, this, &TForm1::AboutButtonClick);

    selectedFolderPanel = sunkenLabel(QStringLiteral("指定フォルダ以下の全ファイル"), LeftPanel);
    selectedFolderPanel->setFixedHeight(17);
    TreeView1 = new FileTreeView(LeftPanel);
    PopupMenu1 = new QMenu(TreeView1);
    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!PopupMenu1->isEmpty())
            PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(pos));
    });
    connect(TreeView1, &FileTreeView::nodeSelectionChanged, this, &TForm1::TreeView1Change);

    auto *layout = new QVBoxLayout(LeftPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ButtonPanel);
    layout->addWidget(selectedFolderPanel);
    layout->addWidget(TreeView1, 1);
    return LeftPanel;
}

QWidget *TForm1::buildLinkPage()
{
    auto *page = new QWidget;
    auto *splitter = new QSplitter(Qt::Vertical, page);
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(linkPanel(Panel1, ListBox1, QStringLiteral("有効リンク"), 23, splitter));
    splitter->addWidget(linkPanel(Panel2, ListBox2, QStringLiteral("無効リンク"), 24, splitter));
    splitter->addWidget(linkPanel(Panel3, ListBox3, QStringLiteral("外部リンク"), 24, splitter));
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({137, 140, 156});
    LinkClickPopup = new QMenu(page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    return page;
}

QWidget *TForm1::buildBottomStrip()
{
    BottomPanel = new QWidget(this);
    BottomPanel->setFixedHeight(20);
    status = new QLabel(QString::fromUtf8(StartPrompt), BottomPanel);
    status->setTextFormat(Qt::PlainText); // file names are never markup
    CountPanel = sunkenLabel(QStringLiteral("count"), BottomPanel);
    CountPanel->setFixedWidth(88);
    StatusBar1 = sunkenLabel(QStringLiteral("総ファイル数"), BottomPanel);
    StatusBar1->setFixedWidth(149);
    auto *layout = new QHBoxLayout(BottomPanel);
    layout->setContentsMargins(2, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(status, 1);
    layout->addWidget(CountPanel);
    layout->addWidget(StatusBar1);
    return BottomPanel;
}

void TForm1::buildDialogs()
{
    BrowseForFolder1 = new TSHBrowseForFolderEx(this);
    BrowseForFolder1->Caption = QStringLiteral("ホームページのフォルダを指定して下さい");
    BrowseForFolder1->Options = sboReturnOnlyFSDirs | sboStatusTextAndShowPath;

    // "All files" is "*" here: a name need not contain a dot.
    OpenProjectDialog = new QFileDialog(this, QStringLiteral("プロジェクトファイルを開く"));
    OpenProjectDialog->setNameFilters({QStringLiteral("Orvaneプロジェクトファイル(*.ovp)"),
                                       QStringLiteral("すべてのファイル(*)")});
    OpenProjectDialog->setFileMode(QFileDialog::ExistingFile);
    OpenProjectDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenProjectDialog->setOption(QFileDialog::DontUseNativeDialog, true);

    SaveProjectDialog = new QFileDialog(this, QStringLiteral("プロジェクトファイルを保存"));
    SaveProjectDialog->setNameFilter(QStringLiteral("Orvaneプロジェクトファイル(*.ovp)"));
    SaveProjectDialog->setDefaultSuffix(QStringLiteral("ovp"));
    SaveProjectDialog->setFileMode(QFileDialog::AnyFile);
    SaveProjectDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveProjectDialog->setOption(QFileDialog::DontUseNativeDialog, true);
}

void TForm1::FormCreate()
{
    IgnoreNextTreeChange = true;
    ProjectForm = new TProjectForm(*m_host, this);
    Project = std::make_unique<TOrvaneProject>(*ProjectForm);
    // Creating the settings dialog puts both windows where they were last.
    OptionForm = new TOptionForm(this, ProjectForm, m_settingsPath);
    LoadSettings(OptionForm->Settings, m_settingsPath);
    m_site = std::make_unique<Site>(*m_host, OptionForm->Settings, *Project);
    buildMenus();
    treeMenu->setOpenShortcuts();
    ProjectForm->attach(m_site.get(), Project.get(), [this] { OpenButtonClick(); });
    m_host->setBusyControls(
        {{OpenButton, OpenProjectBtn, SaveProjectBtn, OptionButton, AboutButton},
         ReopenButton,
         StopButton,
         ProjectForm->busyControls()});
    m_site->BusyCount = 1;
    m_site->EndBusy();
    // Leaving the busy state clears the status line; the first thing the
    // user reads is still what to do.
    m_host->setStatus(StartPrompt);
    setAcceptDrops(true);
    m_treeModel = new FileTreeModel(m_site->tree, this);
    TreeView1->setTreeModel(m_treeModel);
    QCoreApplication::processEvents();
    // The tree starts with its root selected; that first change is the one
    // TreeView1Change lets pass.
    m_site->tree.Select(m_site->tree.Root());
    AboutBox1 = new TAboutBox1(this);
    AboutBox1->openAddress = [this](const std::string &address) {
        runCommand([this, &address] { m_browser->OpenInBrowser(address); });
    };
    m_host->flushDisplays();
}

void TForm1::buildMenus()
{
    const auto run = [this](const std::function<void()> &command) { runCommand(command); };
    treeMenu = new TreeMenu(*PopupMenu1, *TreeView1, *m_site,
                            {run, [this] { OpenWithExternalAppClick(); },
                             [this] { OpenWithBrowserClick(); }, [this] { ProjectForm->show(); }});
    connect(TreeView1, &FileTreeView::treeDoubleClicked, treeMenu, &TreeMenu::TreeView1DblClick);
    ChikanDlg = std::make_unique<TChikanDlg>();
    linkMenu = new LinkMenu(*LinkClickPopup, *m_site, m_launcher, *ChikanDlg, ClickedLink,
                            {run, [this](const QPoint &at) { LinkClickPopup->popup(at); }});
    for (QListWidget *list : {ListBox1, ListBox2, ListBox3})
        linkMenu->watch(*list);
}

void TForm1::OpenWithExternalAppClick()
{
    runCommand([this] { orvane::OpenWithExternalAppClick(*m_site, m_launcher); });
}

void TForm1::OpenWithBrowserClick()
{
    runCommand([this] { orvane::OpenWithBrowserClick(*m_site, *m_browser); });
}

void TForm1::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    TreeView1->setTreeModel(nullptr);
    delete m_treeModel;
    m_treeModel = nullptr;
    ProjectForm->attach(nullptr, nullptr, {});
    runCommand([this] {
        m_site->FileObjects.DestroyAll();
        ORVANE_ASSERT(m_site->FileObjects.empty(), "mainform");
    });
    m_site.reset();
    Project.reset();
    delete OptionForm; // stores the window positions while both windows exist
    OptionForm = nullptr;
    delete ProjectForm;
    ProjectForm = nullptr;
}

bool TForm1::busy() const
{
    return m_site && m_site->BusyCount > 0;
}

void TForm1::runCommand(const std::function<void()> &command)
{
    orvane::runCommand(*m_host, command);
}

void TForm1::closeEvent(QCloseEvent *event)
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

void TForm1::OpenButtonClick()
{
    runCommand([this] {
        if (busy() || !BrowseForFolder1->Execute())
            return;
        const QString folder = BrowseForFolder1->FolderPath();
        OpenFolder(*m_site, pathBytes(folder));
        BrowseForFolder1->SelectFolder = TSpecialFolder::Manual;
        BrowseForFolder1->SelectFolderName = folder;
    });
}

void TForm1::OpenProject(const std::string &path)
{
    runCommand([this, &path] {
        if (FileExists(path))
            m_saveFileName = path;
        orvane::OpenProject(*m_site, path);
    });
}

void TForm1::OpenProjectBtnClick()
{
    if (OpenProjectDialog->exec() != QDialog::Accepted ||
        OpenProjectDialog->selectedFiles().isEmpty())
        return;
    OpenProject(pathBytes(OpenProjectDialog->selectedFiles().first()));
}

void TForm1::SaveProjectBtnClick()
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

void TForm1::ReopenButtonClick()
{
    runCommand([this] { ReopenFolder(*m_site); });
}

void TForm1::StopButtonClick()
{
    m_site->HaltRequested = true;
}

void TForm1::OptionButtonClick()
{
    runCommand([this] {
        TSettings &settings = OptionForm->Settings;
        LoadSettings(settings, m_settingsPath);
        const bool ignoreCase = settings.IgnoreCase;
        if (OptionForm->Execute())
            SaveSettings(settings, m_settingsPath, *m_host);
        else
            LoadSettings(settings, m_settingsPath);
        if (settings.IgnoreCase != ignoreCase)
            RecheckLinks(*m_site);
    });
}

void TForm1::AboutButtonClick()
{
    AboutBox1->exec();
}

void TForm1::TreeView1Change(TreeNode *)
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

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    std::vector<std::string> paths;
    for (const QUrl &url : event->mimeData()->urls())
        paths.push_back(url.isLocalFile() ? pathBytes(url.toLocalFile())
                                          : url.toString().toStdString());
    event->acceptProposedAction();
    DropFiles(paths);
}

void TForm1::DropFiles(const std::vector<std::string> &paths)
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

void TForm1::ProcessCommandLine(const std::vector<std::string> &arguments)
{
    if (arguments.empty())
        return;
    show();
    OpenProject(arguments.front());
}

} // namespace orvane
