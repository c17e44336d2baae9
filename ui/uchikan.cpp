#include "ui/uchikan.h"

#include "ui/displaytext.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace orvane {

TChikanDlg::TChikanDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ChikanDlg"));
    setWindowTitle(QStringLiteral("文字列の置換"));
    setFont(japaneseFont(12));
    setFixedSize(347, 188);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // The edit is made first: it leads the tab order and has the focus.
    afterstr = new QLineEdit(this);
    afterstr->setGeometry(56, 80, 281, 21);
    Label5 = label(QStringLiteral("ファイル名 :"), 8, 10);
    filename = label(QStringLiteral("filename"), 80, 10);
    Label1 = label(QStringLiteral("置換前"), 8, 36);
    beforestr = label(QStringLiteral("置換前の文字列"), 56, 36);
    Label4 = label(QStringLiteral("↓"), 56, 58);
    Label2 = label(QStringLiteral("置換後"), 8, 83);
    Label3 = label(QStringLiteral("注意！"), 8, 112);
    Label6 = label(QStringLiteral("置換される文字列は、タグで挟まれているリンク先"), 56, 112);
    Label7 = label(QStringLiteral("だけではなく、すべての文字列が置換されます"), 56, 128);
    for (QLabel *text : {filename, beforestr})
        text->resize(281 - (text->x() - 56), text->height());

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setGeometry(176, 154, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setGeometry(262, 154, 75, 25);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects as well
}

QLabel *TChikanDlg::label(const QString &text, int x, int y)
{
    auto *result = new QLabel(text, this);
    // Link texts and file names are shown as they are, "&" and "<" included.
    result->setTextFormat(Qt::PlainText);
    result->move(x, y);
    result->adjustSize();
    return result;
}

bool TChikanDlg::execute(ChikanTexts &texts)
{
    filename->setText(displayText(texts.filename));
    beforestr->setText(displayText(texts.beforestr));
    m_givenAfter = texts.afterstr;
    m_shownAfter = displayText(texts.afterstr);
    afterstr->setText(m_shownAfter);
    afterstr->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    if (afterstr->text() != m_shownAfter)
        texts.afterstr = textBytes(afterstr->text());
    else
        texts.afterstr = m_givenAfter;
    return true;
}

void TChikanDlg::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace orvane
