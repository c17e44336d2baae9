#include "ui/about.h"

#include "ui/displaytext.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace orvane {

namespace {

QFrame *bevelPanel(QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    return panel;
}

QLabel *navyBold(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: navy;"));
    return label;
}

} // namespace

TAboutBox1::TAboutBox1(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Orvaneについて"));
    setFont(japaneseFont(12));
    setFixedSize(359, 251);

    QFrame *panel1 = bevelPanel(this);
    ProgramIcon = new QLabel(panel1);
    ProgramIcon->setPixmap(QIcon(QStringLiteral(":/icons/orvane.svg")).pixmap(32, 32));
    ProgramIcon->setFixedSize(32, 32);
    ProductName = new QLabel(QStringLiteral("Orvane"), panel1);
    ProductName->setFont(japaneseFont(15));
    Version = navyBold(QStringLiteral("Version 2.755"), panel1);
    date = navyBold(QStringLiteral("Apr 26, 2001"), panel1);
    Freeware = new QLabel(QStringLiteral("このソフトウェアはフリーウェアです。"), panel1);
    auto *grid1 = new QGridLayout(panel1);
    grid1->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    grid1->addWidget(ProductName, 0, 1, 1, 2);
    grid1->addWidget(Version, 1, 1);
    grid1->addWidget(date, 1, 2);
    Freeware->setWordWrap(true);
    grid1->addWidget(Freeware, 2, 0, 1, 3);
    grid1->setColumnStretch(2, 1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    QFrame *panel2 = bevelPanel(this);
    Label3 = new QLabel(QStringLiteral("MyPage"), panel2);
    URL = new QLabel(QString::fromLatin1(WebAddress), panel2);
    URL->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    URL->setCursor(Qt::PointingHandCursor);
    URL->installEventFilter(this);
    Label2 = new QLabel(QStringLiteral("E-Mail"), panel2);
    mailto = new QLabel(QString::fromLatin1(MailAddress), panel2);
    mailto->setStyleSheet(QStringLiteral("color: navy;"));
    mailto->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *grid2 = new QGridLayout(panel2);
    grid2->addWidget(Label3, 0, 0);
    grid2->addWidget(URL, 0, 1);
    grid2->addWidget(Label2, 1, 0);
    grid2->addWidget(mailto, 1, 1);
    grid2->setColumnStretch(1, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(panel1, 1);
    top->addWidget(OKButton, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(panel2);
}

void TAboutBox1::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

bool TAboutBox1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == URL && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        URLClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox1::URLClick()
{
    if (openAddress)
        openAddress(WebAddress);
}

} // namespace orvane
