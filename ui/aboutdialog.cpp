#include "ui/aboutdialog.h"

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

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Orvaneについて"));
    setFont(japaneseFont(12));
    setFixedSize(359, 251);

    QFrame *productPanel = bevelPanel(this);
    ProgramIcon = new QLabel(productPanel);
    ProgramIcon->setPixmap(QIcon(QStringLiteral(":/icons/orvane.svg")).pixmap(32, 32));
    ProgramIcon->setFixedSize(32, 32);
    ProductName = new QLabel(QStringLiteral("Orvane"), productPanel);
    ProductName->setFont(japaneseFont(15));
    Version = navyBold(QStringLiteral("Version 2.755"), productPanel);
    date = navyBold(QStringLiteral("Apr 26, 2001"), productPanel);
    Freeware = new QLabel(tr("このソフトウェアはフリーウェアです。"), productPanel);
    auto *productGrid = new QGridLayout(productPanel);
    productGrid->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    productGrid->addWidget(ProductName, 0, 1, 1, 2);
    productGrid->addWidget(Version, 1, 1);
    productGrid->addWidget(date, 1, 2);
    Freeware->setWordWrap(true);
    productGrid->addWidget(Freeware, 2, 0, 1, 3);
    productGrid->setColumnStretch(2, 1);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    QFrame *panel2 = bevelPanel(this);
    webCaption = new QLabel(tr("MyPage"), panel2);
    URL = new QLabel(QString::fromLatin1(WebAddress), panel2);
    URL->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    URL->setCursor(Qt::PointingHandCursor);
    URL->installEventFilter(this);
    mailCaption = new QLabel(tr("E-Mail"), panel2);
    mailto = new QLabel(QString::fromLatin1(MailAddress), panel2);
    mailto->setStyleSheet(QStringLiteral("color: navy;"));
    mailto->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *grid2 = new QGridLayout(panel2);
    grid2->addWidget(webCaption, 0, 0);
    grid2->addWidget(URL, 0, 1);
    grid2->addWidget(mailCaption, 1, 0);
    grid2->addWidget(mailto, 1, 1);
    grid2->setColumnStretch(1, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(productPanel, 1);
    top->addWidget(OKButton, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(panel2);
}

void AboutDialog::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == URL && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        URLClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::URLClick()
{
    if (openAddress)
        openAddress(WebAddress);
}

} // namespace orvane
