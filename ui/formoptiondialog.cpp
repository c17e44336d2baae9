#include "ui/formoptiondialog.h"

#include "ui/displaytext.h"
#include "ui/windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

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

QLabel *label(const QString &text, QWidget *parent, int left, int top)
{
    auto *l = new QLabel(text, parent);
    l->adjustSize();
    return placed(l, left, top);
}

} // namespace

TOptionForm::TOptionForm(QWidget *mainWindow, QWidget *projectWindow, std::string iniPath)
    : QDialog(mainWindow)
    , m_mainWindow(mainWindow)
    , m_projectWindow(projectWindow)
    , m_iniPath(std::move(iniPath))
{
    setObjectName(QStringLiteral("OptionForm"));
    setWindowTitle(QStringLiteral("Orvane - 設定"));
    setFont(japaneseFont(12));
    PageControl1 = placed(new QTabWidget(this), 8, 8, 417, 329);
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet3 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("外部アプリケーション"));
    PageControl1->addTab(TabSheet2, QStringLiteral("拡張子"));
    PageControl1->addTab(TabSheet3, QStringLiteral("その他"));
    buildPage1();
    buildPage2();
    buildPage3();
    const int growth = widthNeeded();

    OKBtn = placed(new QPushButton(QStringLiteral("OK"), this), 135 + growth / 2, 348, 75, 25);
    CancelBtn =
        placed(new QPushButton(QStringLiteral("Cancel"), this), 223 + growth / 2, 348, 75, 25);
    OKBtn->setFont(captionFont(11));
    CancelBtn->setFont(captionFont(11));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog, true);

    PageControl1->setCurrentIndex(0);
    if (m_mainWindow && m_projectWindow)
        RestoreWindowPlacement(*m_mainWindow, *m_projectWindow, m_iniPath);
}

TOptionForm::~TOptionForm()
{
    if (m_mainWindow && m_projectWindow)
        SaveWindowPlacement(*m_mainWindow, *m_projectWindow, m_iniPath);
}

int TOptionForm::widthNeeded()
{
    // A page holds its controls with a margin of 8; the page control's frame
    // takes a few pixels more.
    int right = 0;
    for (const QWidget *page : {TabSheet1, TabSheet2, TabSheet3})
        right = std::max(right, page->childrenRect().right() + 1 + 8);
    const int growth = std::max(0, right + 6 - 417);
    PageControl1->resize(417 + growth, 329);
    setFixedSize(433 + growth, 380);
    return growth;
}

void TOptionForm::buildPage1()
{
    QWidget *page = TabSheet1;
    label(QStringLiteral("画像ビューア"), page, 8, 8);
    externalViewer = placed(new QLineEdit(page), 8, 24, 313, 20);
    ViewerBrowseButton = placed(new QPushButton(QStringLiteral("参照..."), page), 328, 24, 75, 25);
    label(QStringLiteral("HTMLファイルを編集するエディタ"), page, 8, 56);
    ExternalEditor = placed(new QLineEdit(page), 8, 72, 313, 20);
    EditorBrowseButton = placed(new QPushButton(QStringLiteral("参照..."), page), 328, 72, 75, 25);
    label(QStringLiteral("通常のコマンドラインオプション"), page, 24, 100);
    commandlineoption = placed(new QLineEdit(page), 208, 96, 113, 20);
    label(QStringLiteral("タグジャンプ時のオプション"), page, 24, 120);
    TagJumpCommandlineoption = placed(new QLineEdit(page), 208, 120, 113, 20);

    Panel1 = placed(new QFrame(page), 8, 144, 393, 153);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    const struct
    {
        int top;
        int left;
        const char *text;
    } help[] = {
        {8, 24, "コマンドラインオプションは、以下のように展開されます"},
        {24, 48, "%F → ファイル名"},
        {40, 48, "%N → 行番号"},
        {64, 24, "例えば秀丸の場合、コマンドラインオプションを"},
        {80, 48, "%F"},
        {96, 24, "タグジャンプ時のオプションを"},
        {112, 48, "/j%N %F"},
        {128, 24, "としてください。"},
    };
    for (const auto &line : help)
        label(QString::fromUtf8(line.text), Panel1, line.left, line.top);

    bindText(externalViewer, &TSettings::ExternalViewer);
    bindText(ExternalEditor, &TSettings::ExternalEditor);
    bindText(commandlineoption, &TSettings::CommandLineOption);
    bindText(TagJumpCommandlineoption, &TSettings::TagJumpCommandLineOption);
    connect(ViewerBrowseButton, &QPushButton::clicked, this, &TOptionForm::ViewerBrowseButtonClick);
    connect(EditorBrowseButton, &QPushButton::clicked, this, &TOptionForm::EditorBrowseButtonClick);
    setTabOrder(externalViewer, ViewerBrowseButton);
    setTabOrder(ViewerBrowseButton, ExternalEditor);
    setTabOrder(ExternalEditor, EditorBrowseButton);
    setTabOrder(EditorBrowseButton, commandlineoption);
    setTabOrder(commandlineoption, TagJumpCommandlineoption);
}

void TOptionForm::buildPage2()
{
    QWidget *page = TabSheet2;
    label(QStringLiteral("HTMLファイルとして認識される拡張子"), page, 8, 8);
    ExtListHTML = placed(new QLineEdit(page), 24, 24, 369, 20);
    label(QStringLiteral("イメージファイルとして認識される拡張子"), page, 8, 56);
    ExtListImg = placed(new QLineEdit(page), 24, 72, 369, 20);
    MakeExtListDefault =
        placed(new QPushButton(QStringLiteral("デフォルトに戻す"), page), 280, 112, 113, 25);
    bindText(ExtListHTML, &TSettings::ExtListHTML);
    bindText(ExtListImg, &TSettings::ExtListImg);
    connect(MakeExtListDefault, &QPushButton::clicked, this, &TOptionForm::MakeExtListDefaultClick);
}

void TOptionForm::buildPage3()
{
    QWidget *page = TabSheet3;
    const QLabel *name = label(QStringLiteral("暗黙のファイル名"), page, 8, 15);
    DefaultFileName =
        placed(new QLineEdit(page), std::max(104, name->geometry().right() + 6), 10, 121, 20);
    // The captions are as wide as this font makes them, at least as wide as
    // the layout gives them.
    const auto check = [page](const char *text, int top, int width) {
        auto *box = new QCheckBox(QString::fromUtf8(text), page);
        return placed(box, 8, top, std::max(width, box->sizeHint().width()),
                      std::max(17, box->sizeHint().height()));
    };
    ignoreCase = check("ファイル名の大文字/小文字を区別しない", 37, 273);
    isSpaceValidChkBox = check("スペースの入ったファイル名も認識させる", 61, 241);
    AnchorMakesFileBlue = check("参照されていないアンカーを持ったHTMLファイルも青く表示", 88, 353);
    IgnoreHTMLInfo =
        check("チェック対象から外したHTMLファイルの情報を読み込まない（高速）", 112, 385);
    IgnoreJavaScript = check("<A HREF=\"JavaScript:...\">は、抜き出さない", 136, 385);
    HideInfoBoxAfterCheck = check("チェック終了後の情報ダイアログを出さない", 160, 273);

    CheckLocalFile = new QGroupBox(QStringLiteral("file://で始まるリンクの扱い"), page);
    CheckLocalFileChoices[0] =
        new QRadioButton(QStringLiteral("無条件に、無効リンクと見なす"), CheckLocalFile);
    CheckLocalFileChoices[1] =
        new QRadioButton(QStringLiteral("ファイルの存在チェックを行う"), CheckLocalFile);
    auto *choices = new QVBoxLayout(CheckLocalFile);
    choices->setContentsMargins(8, 2, 8, 4);
    choices->setSpacing(0);
    choices->addWidget(CheckLocalFileChoices[0]);
    choices->addWidget(CheckLocalFileChoices[1]);
    placed(CheckLocalFile, 8, 184, 393, std::max(57, CheckLocalFile->sizeHint().height()));
    m_checkLocalFileGroup = new QButtonGroup(this);
    m_checkLocalFileGroup->addButton(CheckLocalFileChoices[0], 0);
    m_checkLocalFileGroup->addButton(CheckLocalFileChoices[1], 1);
    connect(m_checkLocalFileGroup, &QButtonGroup::idClicked, this,
            [this](int id) { Settings.CheckLocalFile = id; });

    bindText(DefaultFileName, &TSettings::DefaultFileName);
    bindFlag(ignoreCase, &TSettings::IgnoreCase);
    bindFlag(isSpaceValidChkBox, &TSettings::isSpaceValid);
    bindFlag(AnchorMakesFileBlue, &TSettings::AnchorMakesFileBlue);
    bindFlag(IgnoreHTMLInfo, &TSettings::IgnoreHTMLInfo);
    bindFlag(IgnoreJavaScript, &TSettings::IgnoreJavaScript);
    bindFlag(HideInfoBoxAfterCheck, &TSettings::HideInfoBoxAfterCheck);
}

void TOptionForm::bindText(QLineEdit *edit, std::string TSettings::*field)
{
    // Only the user's edits write back: a value that is not UTF-8 is shown
    // decoded but stays as it is until the user changes it.
    connect(edit, &QLineEdit::textChanged, this,
            [this, field](const QString &text) { Settings.*field = textBytes(text); });
}

void TOptionForm::bindFlag(QCheckBox *box, bool TSettings::*field)
{
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) { Settings.*field = on; });
}

void TOptionForm::showSettings()
{
    const struct
    {
        QLineEdit *edit;
        const std::string &value;
    } texts[] = {
        {externalViewer, Settings.ExternalViewer},
        {ExternalEditor, Settings.ExternalEditor},
        {commandlineoption, Settings.CommandLineOption},
        {TagJumpCommandlineoption, Settings.TagJumpCommandLineOption},
        {ExtListHTML, Settings.ExtListHTML},
        {ExtListImg, Settings.ExtListImg},
        {DefaultFileName, Settings.DefaultFileName},
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
        {ignoreCase, Settings.IgnoreCase},
        {isSpaceValidChkBox, Settings.isSpaceValid},
        {AnchorMakesFileBlue, Settings.AnchorMakesFileBlue},
        {IgnoreHTMLInfo, Settings.IgnoreHTMLInfo},
        {IgnoreJavaScript, Settings.IgnoreJavaScript},
        {HideInfoBoxAfterCheck, Settings.HideInfoBoxAfterCheck},
    };
    for (const auto &f : flags) {
        const QSignalBlocker blocker(f.box);
        f.box->setChecked(f.value);
    }
    // -1 selects neither choice, which an exclusive group cannot show.
    m_checkLocalFileGroup->setExclusive(false);
    CheckLocalFileChoices[0]->setChecked(Settings.CheckLocalFile == 0);
    CheckLocalFileChoices[1]->setChecked(Settings.CheckLocalFile == 1);
    m_checkLocalFileGroup->setExclusive(true);
}

bool TOptionForm::Execute()
{
    showSettings();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    return exec() == QDialog::Accepted;
}

void TOptionForm::browseInto(QLineEdit *edit)
{
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return;
    const QString chosen = OpenDialog1->selectedFiles().first();
    // The next browse starts at the file chosen last.
    OpenDialog1->selectFile(chosen);
    edit->setText(chosen);
}

void TOptionForm::ViewerBrowseButtonClick()
{
    browseInto(externalViewer);
}

void TOptionForm::EditorBrowseButtonClick()
{
    browseInto(ExternalEditor);
}

void TOptionForm::MakeExtListDefaultClick()
{
    const TSettings defaults;
    ExtListHTML->setText(QString::fromStdString(defaults.ExtListHTML));
    ExtListImg->setText(QString::fromStdString(defaults.ExtListImg));
}

} // namespace orvane
