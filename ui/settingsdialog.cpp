#include "ui/settingsdialog.h"

#include "commands/knowneditors.h"
#include "ui/displaytext.h"
#include "ui/windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace orvane {

namespace {

template<typename W>
W *placed(W *widget, int left, int top, int width = -1, int height = -1)
{
    if (width < 0)
        widget->move(left, top);
    else
        widget->setGeometry(left, top, width, height);
    return widget;
}

constexpr const char *EditorChoiceCaption = QT_TRANSLATE_NOOP("orvane::SettingsDialog", "候補");
constexpr const char *EditorChoiceHint =
    QT_TRANSLATE_NOOP("orvane::SettingsDialog", "このコンピューターで見つかったエディタから選ぶ");
constexpr const char *NoEditorFound =
    QT_TRANSLATE_NOOP("orvane::SettingsDialog", "よく使われるエディタは見つかりませんでした");
const char *const FallbackSearchPath = "/usr/local/bin:/usr/bin:/bin";

QLabel *label(const QString &text, QWidget *parent, int left, int top)
{
    auto *l = new QLabel(text, parent);
    l->adjustSize();
    return placed(l, left, top);
}

} // namespace

SettingsDialog::SettingsDialog(QWidget *mainWindow, QWidget *projectWindow, std::string iniPath)
    : QDialog(mainWindow)
    , m_mainWindow(mainWindow)
    , m_projectWindow(projectWindow)
    , m_iniPath(std::move(iniPath))
{
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(tr("Orvane - 設定"));
    setFont(japaneseFont(12));
    tabs = placed(new QTabWidget(this), 8, 8, 417, 329);
    programsPage = new QWidget;
    extensionsPage = new QWidget;
    otherPage = new QWidget;
    tabs->addTab(programsPage, tr("外部アプリケーション"));
    tabs->addTab(extensionsPage, tr("拡張子"));
    tabs->addTab(otherPage, tr("その他"));
    buildPage1();
    buildPage2();
    buildPage3();
    const int growth = widthNeeded();

    okButton = placed(new QPushButton(tr("OK"), this), 135 + growth / 2, 348, 75, 25);
    cancelButton = placed(new QPushButton(tr("Cancel"), this), 223 + growth / 2, 348, 75, 25);
    okButton->setFont(captionFont(11));
    cancelButton->setFont(captionFont(11));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    programFileDialog = new QFileDialog(this);
    programFileDialog->setFileMode(QFileDialog::ExistingFile);
    programFileDialog->setOption(QFileDialog::DontUseNativeDialog, true);

    tabs->setCurrentIndex(0);
    if (m_mainWindow && m_projectWindow)
        RestoreWindowPlacement(*m_mainWindow, *m_projectWindow, m_iniPath);
}

SettingsDialog::~SettingsDialog()
{
    if (m_mainWindow && m_projectWindow)
        SaveWindowPlacement(*m_mainWindow, *m_projectWindow, m_iniPath);
}

int SettingsDialog::widthNeeded()
{
    // A page holds its controls with a margin of 8; the page control's frame
    // takes a few pixels more.
    int right = 0;
    for (const QWidget *page : {programsPage, extensionsPage, otherPage})
        right = std::max(right, page->childrenRect().right() + 1 + 8);
    const int growth = std::max(0, right + 6 - 417);
    tabs->resize(417 + growth, 329);
    setFixedSize(433 + growth, 380);
    return growth;
}

void SettingsDialog::buildPage1()
{
    QWidget *page = programsPage;
    label(tr("画像ビューア"), page, 8, 8);
    externalViewer = placed(new QLineEdit(page), 8, 24, 313, 20);
    ViewerBrowseButton = placed(new QPushButton(tr("参照..."), page), 328, 24, 75, 25);
    label(tr("HTMLファイルを編集するエディタ"), page, 8, 56);
    ExternalEditor = placed(new QLineEdit(page), 8, 72, 253, 20);
    editorChoiceButton = placed(new QToolButton(page), 264, 72, 57, 20);
    editorChoiceButton->setText(tr(EditorChoiceCaption));
    editorChoiceButton->setToolTip(tr(EditorChoiceHint));
    editorChoiceButton->setPopupMode(QToolButton::InstantPopup);
    editorChoiceMenu = new QMenu(editorChoiceButton);
    editorChoiceButton->setMenu(editorChoiceMenu);
    // Looked up each time, so an editor installed meanwhile is offered too.
    connect(editorChoiceMenu, &QMenu::aboutToShow, this, &SettingsDialog::fillEditorChoices);
    EditorBrowseButton = placed(new QPushButton(tr("参照..."), page), 328, 72, 75, 25);
    label(tr("通常のコマンドラインオプション"), page, 24, 100);
    commandlineoption = placed(new QLineEdit(page), 208, 96, 113, 20);
    label(tr("タグジャンプ時のオプション"), page, 24, 120);
    TagJumpCommandlineoption = placed(new QLineEdit(page), 208, 120, 113, 20);

    templateHelpPanel = placed(new QFrame(page), 8, 144, 393, 153);
    templateHelpPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    templateHelpPanel->setLineWidth(2);
    const struct
    {
        int top;
        int left;
        const char *text;
    } help[] = {
        {8, 24, QT_TR_NOOP("コマンドラインオプションは、以下のように展開されます")},
        {24, 48, QT_TR_NOOP("%F → ファイル名")},
        {40, 48, QT_TR_NOOP("%N → 行番号")},
        {64, 24, QT_TR_NOOP("例えば秀丸の場合、コマンドラインオプションを")},
        {80, 48, "%F"},
        {96, 24, QT_TR_NOOP("タグジャンプ時のオプションを")},
        {112, 48, "/j%N %F"},
        {128, 24, QT_TR_NOOP("としてください。")},
    };
    for (const auto &line : help)
        label(tr(line.text), templateHelpPanel, line.left, line.top);

    bindText(externalViewer, &Settings::ExternalViewer);
    bindText(ExternalEditor, &Settings::ExternalEditor);
    bindText(commandlineoption, &Settings::CommandLineOption);
    bindText(TagJumpCommandlineoption, &Settings::TagJumpCommandLineOption);
    connect(ViewerBrowseButton, &QPushButton::clicked, this,
            &SettingsDialog::ViewerBrowseButtonClick);
    connect(EditorBrowseButton, &QPushButton::clicked, this,
            &SettingsDialog::EditorBrowseButtonClick);
    setTabOrder(externalViewer, ViewerBrowseButton);
    setTabOrder(ViewerBrowseButton, ExternalEditor);
    setTabOrder(ExternalEditor, editorChoiceButton);
    setTabOrder(editorChoiceButton, EditorBrowseButton);
    setTabOrder(EditorBrowseButton, commandlineoption);
    setTabOrder(commandlineoption, TagJumpCommandlineoption);
}

void SettingsDialog::buildPage2()
{
    QWidget *page = extensionsPage;
    label(tr("HTMLファイルとして認識される拡張子"), page, 8, 8);
    ExtListHTML = placed(new QLineEdit(page), 24, 24, 369, 20);
    label(tr("イメージファイルとして認識される拡張子"), page, 8, 56);
    ExtListImg = placed(new QLineEdit(page), 24, 72, 369, 20);
    MakeExtListDefault = placed(new QPushButton(tr("デフォルトに戻す"), page), 280, 112, 113, 25);
    bindText(ExtListHTML, &Settings::ExtListHTML);
    bindText(ExtListImg, &Settings::ExtListImg);
    connect(MakeExtListDefault, &QPushButton::clicked, this,
            &SettingsDialog::MakeExtListDefaultClick);
}

void SettingsDialog::buildPage3()
{
    QWidget *page = otherPage;
    const QLabel *name = label(tr("暗黙のファイル名"), page, 8, 15);
    DefaultFileName =
        placed(new QLineEdit(page), std::max(104, name->geometry().right() + 6), 10, 121, 20);
    // The captions are as wide as this font makes them, at least as wide as
    // the layout gives them.
    const auto check = [page](const char *text, int top, int width) {
        auto *box = new QCheckBox(tr(text), page);
        return placed(box, 8, top, std::max(width, box->sizeHint().width()),
                      std::max(17, box->sizeHint().height()));
    };
    ignoreCase = check(QT_TR_NOOP("ファイル名の大文字/小文字を区別しない"), 37, 273);
    isSpaceValidChkBox = check(QT_TR_NOOP("スペースの入ったファイル名も認識させる"), 61, 241);
    AnchorMakesFileBlue =
        check(QT_TR_NOOP("参照されていないアンカーを持ったHTMLファイルも青く表示"), 88, 353);
    IgnoreHTMLInfo = check(
        QT_TR_NOOP("チェック対象から外したHTMLファイルの情報を読み込まない（高速）"), 112, 385);
    IgnoreJavaScript = check(QT_TR_NOOP("<A HREF=\"JavaScript:...\">は、抜き出さない"), 136, 385);
    // With the other link options; what follows moves down a row.
    ModernLinks = check(QT_TR_NOOP("id属性・%エスケープ・#top も解釈する（現在のHTML）"), 160, 385);
    HideInfoBoxAfterCheck = check(QT_TR_NOOP("チェック終了後の情報ダイアログを出さない"), 184, 273);

    CheckLocalFile = new QGroupBox(tr("file://で始まるリンクの扱い"), page);
    CheckLocalFileChoices[0] = new QRadioButton(tr("無条件に、無効リンクと見なす"), CheckLocalFile);
    CheckLocalFileChoices[1] = new QRadioButton(tr("ファイルの存在チェックを行う"), CheckLocalFile);
    auto *choices = new QVBoxLayout(CheckLocalFile);
    choices->setContentsMargins(8, 2, 8, 4);
    choices->setSpacing(0);
    choices->addWidget(CheckLocalFileChoices[0]);
    choices->addWidget(CheckLocalFileChoices[1]);
    placed(CheckLocalFile, 8, 208, 393, std::max(57, CheckLocalFile->sizeHint().height()));
    m_checkLocalFileGroup = new QButtonGroup(this);
    m_checkLocalFileGroup->addButton(CheckLocalFileChoices[0], 0);
    m_checkLocalFileGroup->addButton(CheckLocalFileChoices[1], 1);
    connect(m_checkLocalFileGroup, &QButtonGroup::idClicked, this,
            [this](int id) { settings.CheckLocalFile = id; });

    // The language is chosen at start-up, so a change shows from the next one.
    const QLabel *languageCaption = label(tr("表示言語"), page, 240, 15);
    Language = placed(new QComboBox(page), languageCaption->geometry().right() + 6, 10, 95, 22);
    Language->addItems({tr("自動"), QStringLiteral("日本語"), QStringLiteral("English")});
    Language->setToolTip(tr("次回の起動から有効になります"));
    connect(Language, &QComboBox::activated, this,
            [this](int index) { settings.Language = index; });

    bindText(DefaultFileName, &Settings::DefaultFileName);
    bindFlag(ignoreCase, &Settings::IgnoreCase);
    bindFlag(isSpaceValidChkBox, &Settings::isSpaceValid);
    bindFlag(AnchorMakesFileBlue, &Settings::AnchorMakesFileBlue);
    bindFlag(IgnoreHTMLInfo, &Settings::IgnoreHTMLInfo);
    bindFlag(IgnoreJavaScript, &Settings::IgnoreJavaScript);
    bindFlag(ModernLinks, &Settings::ModernLinks);
    bindFlag(HideInfoBoxAfterCheck, &Settings::HideInfoBoxAfterCheck);
}

void SettingsDialog::bindText(QLineEdit *edit, std::string Settings::*field)
{
    // Only the user's edits write back: a value that is not UTF-8 is shown
    // decoded but stays as it is until the user changes it.
    connect(edit, &QLineEdit::textChanged, this,
            [this, field](const QString &text) { settings.*field = textBytes(text); });
}

void SettingsDialog::bindFlag(QCheckBox *box, bool Settings::*field)
{
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) { settings.*field = on; });
}

void SettingsDialog::showSettings()
{
    const struct
    {
        QLineEdit *edit;
        const std::string &value;
    } texts[] = {
        {externalViewer, settings.ExternalViewer},
        {ExternalEditor, settings.ExternalEditor},
        {commandlineoption, settings.CommandLineOption},
        {TagJumpCommandlineoption, settings.TagJumpCommandLineOption},
        {ExtListHTML, settings.ExtListHTML},
        {ExtListImg, settings.ExtListImg},
        {DefaultFileName, settings.DefaultFileName},
    };
    for (const auto &t : texts) {
        const QSignalBlocker blocker(t.edit);
        t.edit->setText(displayText(t.value));
    }
    const struct
    {
        QCheckBox *box;
        bool value;
    } flags[] = {
        {ignoreCase, settings.IgnoreCase},
        {isSpaceValidChkBox, settings.isSpaceValid},
        {AnchorMakesFileBlue, settings.AnchorMakesFileBlue},
        {IgnoreHTMLInfo, settings.IgnoreHTMLInfo},
        {IgnoreJavaScript, settings.IgnoreJavaScript},
        {ModernLinks, settings.ModernLinks},
        {HideInfoBoxAfterCheck, settings.HideInfoBoxAfterCheck},
    };
    for (const auto &f : flags) {
        const QSignalBlocker blocker(f.box);
        f.box->setChecked(f.value);
    }
    // -1 selects neither choice, which an exclusive group cannot show.
    m_checkLocalFileGroup->setExclusive(false);
    CheckLocalFileChoices[0]->setChecked(settings.CheckLocalFile == 0);
    CheckLocalFileChoices[1]->setChecked(settings.CheckLocalFile == 1);
    m_checkLocalFileGroup->setExclusive(true);
    Language->setCurrentIndex(settings.Language);
}

bool SettingsDialog::Execute()
{
    showSettings();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    return exec() == QDialog::Accepted;
}

void SettingsDialog::browseInto(QLineEdit *edit)
{
    if (programFileDialog->exec() != QDialog::Accepted ||
        programFileDialog->selectedFiles().isEmpty())
        return;
    const QString chosen = programFileDialog->selectedFiles().first();
    // The next browse starts at the file chosen last.
    programFileDialog->selectFile(chosen);
    edit->setText(chosen);
}

void SettingsDialog::ViewerBrowseButtonClick()
{
    browseInto(externalViewer);
}

void SettingsDialog::EditorBrowseButtonClick()
{
    browseInto(ExternalEditor);
}

void SettingsDialog::fillEditorChoices()
{
    editorChoiceMenu->clear();
    std::string searchPath = editorSearchPath;
    if (searchPath.empty()) {
        const char *path = std::getenv("PATH");
        searchPath = path && *path ? path : FallbackSearchPath;
    }
    const std::vector<InstalledEditor> editors = InstalledEditors(searchPath);
    if (editors.empty())
        editorChoiceMenu->addAction(tr(NoEditorFound))->setEnabled(false);
    for (const InstalledEditor &found : editors) {
        QAction *choice = editorChoiceMenu->addAction(
            QStringLiteral("%1  (%2)")
                .arg(QString::fromUtf8(found.editor.program), displayText(found.path)));
        connect(choice, &QAction::triggered, this, [this, found] {
            ExternalEditor->setText(displayText(found.path));
            settings.ExternalEditor = found.path; // the bytes, whatever the display made of them
            const KnownEditor &editor = found.editor;
            commandlineoption->setText(QString::fromUtf8(editor.commandLineOption));
            TagJumpCommandlineoption->setText(QString::fromUtf8(editor.tagJumpCommandLineOption));
        });
    }
}

void SettingsDialog::MakeExtListDefaultClick()
{
    const Settings defaults;
    ExtListHTML->setText(QString::fromStdString(defaults.ExtListHTML));
    ExtListImg->setText(QString::fromStdString(defaults.ExtListImg));
}

} // namespace orvane
