#include "ui/replacedialog.h"

#include "ui/displaytext.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace orvane {

ReplaceDialog::ReplaceDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(tr("文字列の置換"));
    setFont(japaneseFont(12));
    setFixedSize(347, 188);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // The edit is made first: it leads the tab order and has the focus.
    afterEdit = new QLineEdit(this);
    afterEdit->setGeometry(56, 80, 281, 21);
    fileNameCaption = label(tr("ファイル名 :"), 8, 10);
    fileNameLabel = label(QStringLiteral("filename"), 80, 10);
    beforeCaption = label(tr("置換前"), 8, 36);
    beforeLabel = label(tr("置換前の文字列"), 56, 36);
    arrowLabel = label(QStringLiteral("↓"), 56, 58);
    afterCaption = label(tr("置換後"), 8, 83);
    noticeCaption = label(tr("注意！"), 8, 112);
    noticeLine1 = label(tr("置換される文字列は、タグで挟まれているリンク先"), 56, 112);
    noticeLine2 = label(tr("だけではなく、すべての文字列が置換されます"), 56, 128);
    for (QLabel *text : {fileNameLabel, beforeLabel})
        text->resize(281 - (text->x() - 56), text->height());

    okButton = new QPushButton(tr("OK"), this);
    okButton->setGeometry(176, 154, 75, 25);
    okButton->setDefault(true);
    cancelButton = new QPushButton(tr("キャンセル"), this);
    cancelButton->setGeometry(262, 154, 75, 25);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects as well
}

QLabel *ReplaceDialog::label(const QString &text, int x, int y)
{
    auto *result = new QLabel(text, this);
    // Link texts and file names are shown as they are, "&" and "<" included.
    result->setTextFormat(Qt::PlainText);
    result->move(x, y);
    result->adjustSize();
    return result;
}

bool ReplaceDialog::execute(ReplaceTexts &texts)
{
    fileNameLabel->setText(displayText(texts.fileName));
    beforeLabel->setText(displayText(texts.before));
    m_givenAfter = texts.after;
    m_shownAfter = displayText(texts.after);
    afterEdit->setText(m_shownAfter);
    afterEdit->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    if (afterEdit->text() != m_shownAfter)
        texts.after = textBytes(afterEdit->text());
    else
        texts.after = m_givenAfter;
    return true;
}

void ReplaceDialog::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace orvane
