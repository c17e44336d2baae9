#include "ui/qthost.h"

#include "base/usertext.h"
#include "engine/filetree.h"
#include "ui/displaytext.h"
#include "ui/treeimages.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>

namespace orvane {

namespace {

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

/// A referring page's picture: its state picture beside a page, with the
/// checker over it when the page is excluded, as the tree draws it.
QIcon referrerIcon(ReferrerState state)
{
    static TreeImages images;
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    switch (state) {
    case ReferrerState::top:
        return QIcon(images.decoration(ImgTopPage, ImgPageWhite, NoOverlay, ratio));
    case ReferrerState::reached:
        return QIcon(images.decoration(ImgReached, ImgPageWhite, NoOverlay, ratio));
    case ReferrerState::unreached:
        return QIcon(images.decoration(ImgUnreached, ImgPageWhite, NoOverlay, ratio));
    case ReferrerState::excluded:
        break;
    }
    return QIcon(images.decoration(ImgReached, ImgPageWhite, OverlayExcluded, ratio));
}

void setText(QLabel *label, const QString &text)
{
    // Loops write the same text many times over; only a change repaints.
    if (label && label->text() != text)
        label->setText(text);
}

void setEnabled(const std::vector<QPointer<QWidget>> &widgets, bool enabled)
{
    for (const QPointer<QWidget> &widget : widgets)
        if (widget)
            widget->setEnabled(enabled);
}

} // namespace

QtHost::QtHost(QObject *parent)
    : QObject(parent)
{
    m_sinceEvents.start();
}

void QtHost::setStatus(const std::string &text)
{
    m_status = text;
    m_statusDirty = true;
    displaysChanged();
}

void QtHost::setCountPanel(long n)
{
    m_count = n;
    m_countShown = true;
    m_countDirty = true;
    displaysChanged();
}

void QtHost::clearCountPanel()
{
    m_countShown = false;
    m_countDirty = true;
    displaysChanged();
}

void QtHost::setFileCount(long n)
{
    m_fileCount = n;
    m_fileCountDirty = true;
    displaysChanged();
}

void QtHost::displaysChanged()
{
    if (m_flushPosted)
        return;
    m_flushPosted = true;
    QMetaObject::invokeMethod(this, &QtHost::flushDisplays, Qt::QueuedConnection);
}

void QtHost::flushDisplays()
{
    m_flushPosted = false;
    if (m_statusDirty)
        setText(m_displays.status, displayText(m_status));
    if (m_countDirty)
        setText(m_displays.countPanel,
                m_countShown ? tr("count ") + QString::number(m_count) : QString());
    if (m_fileCountDirty)
        setText(m_displays.fileCount, tr("総ファイル数 ") + QString::number(m_fileCount));
    m_statusDirty = m_countDirty = m_fileCountDirty = false;
}

void QtHost::processEvents()
{
    // Called once per item of every long loop: handing control to the event
    // loop each time would make a large site many times slower, while a few
    // dozen rounds a second keep the window painted and Halt answered.
    if (m_sinceEvents.elapsed() < m_eventInterval)
        return;
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
}

bool QtHost::message(MessageKind kind, const std::string &text, MessageButtons buttons)
{
    return showBox({QString::fromStdString(Tr(messageCaption(kind))), displayText(text),
                    iconOf(kind), buttons});
}

void QtHost::showFailure(const std::string &text)
{
    showBox(
        {QStringLiteral("Orvane"), displayText(text), QMessageBox::Critical, MessageButtons::Ok});
}

bool QtHost::showBox(const Box &box)
{
    flushDisplays(); // what led to the box stays readable behind it
    if (m_answerer)
        return m_answerer(box);
    const bool withCancel = box.buttons == MessageButtons::OkCancel;
    QMessageBox dialog(box.icon, box.caption, box.text,
                       withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                       m_dialogParent);
    dialog.setTextFormat(Qt::PlainText); // paths and link texts are never markup
    dialog.setDefaultButton(QMessageBox::Ok);
    return dialog.exec() == QMessageBox::Ok;
}

void QtHost::beep(Sound sound)
{
    if (m_beepListener)
        m_beepListener(sound);
    // The desktop has one bell for every kind of cue.
    QApplication::beep();
}

void QtHost::enterBusy()
{
    setEnabled(m_busy.commands, false);
    if (m_busy.reopen)
        m_busy.reopen->setEnabled(false);
    if (m_busy.halt)
        m_busy.halt->setEnabled(true);
    setEnabled(m_busy.projectWindow, false);
}

void QtHost::leaveBusy(bool reopenEnabled)
{
    setEnabled(m_busy.commands, true);
    if (m_busy.reopen)
        m_busy.reopen->setEnabled(reopenEnabled);
    if (m_busy.halt)
        m_busy.halt->setEnabled(false);
    setEnabled(m_busy.projectWindow, true);
    emit idle();
}

void QtHost::clearLinkLists()
{
    for (QListWidget *list :
         {m_displays.links[0], m_displays.links[1], m_displays.links[2], m_displays.referrers}) {
        if (!list)
            continue;
        list->setUpdatesEnabled(false);
        list->clear();
        list->setUpdatesEnabled(true);
    }
    setOrphanReason(OrphanReason::none);
}

void QtHost::addLink(LinkList list, const std::string &text)
{
    QListWidget *widget = m_displays.links[static_cast<int>(list)];
    if (!widget)
        return;
    // The raw link text stays with the entry for the commands that act on it.
    auto *item = new QListWidgetItem(displayText(text));
    item->setData(Qt::UserRole, QByteArray::fromStdString(text));
    widget->addItem(item);
}

QString QtHost::hintText(const LinkHint &hint)
{
    switch (hint.kind) {
    case HintKind::letterCase:
        return tr("大文字小文字だけが違います: %1").arg(displayText(hint.link));
    case HintKind::moved:
        return tr("移動した可能性: %1").arg(displayText(hint.link));
    case HintKind::anchor:
        break;
    }
    return tr("もしかして: #%1").arg(displayText(hint.name));
}

QString QtHost::orphanReasonText(OrphanReason reason)
{
    switch (reason) {
    case OrphanReason::none:
        break;
    case OrphanReason::noReferrer:
        return tr("どのページからもリンクされていません");
    case OrphanReason::onlyOrphanedReferrers:
        return tr("リンク元はすべて孤立ファイルか除外ファイルです");
    }
    return {};
}

void QtHost::setLinkHint(LinkList list, const LinkHint &hint)
{
    QListWidget *widget = m_displays.links[static_cast<int>(list)];
    if (!widget || widget->count() == 0)
        return;
    QListWidgetItem *item = widget->item(widget->count() - 1);
    const QString text = hintText(hint);
    item->setData(HintRole, text);
    item->setData(SuggestionRole, QByteArray::fromStdString(hint.link));
    item->setToolTip(text);
}

void QtHost::setOrphanReason(OrphanReason reason)
{
    if (!m_displays.orphanReason)
        return;
    const QString text = orphanReasonText(reason);
    m_displays.orphanReason->setText(text);
    m_displays.orphanReason->setVisible(!text.isEmpty());
}

void QtHost::addReferrer(const ReferrerRow &row)
{
    QListWidget *widget = m_displays.referrers;
    if (!widget)
        return;
    QString text = displayText(row.shownPage);
    if (row.line > 0)
        text += QStringLiteral(":%1").arg(row.line);
    auto *item = new QListWidgetItem(text);
    item->setData(LinkRole, QByteArray::fromStdString(row.link));
    item->setData(PageRole, QByteArray::fromStdString(row.page));
    item->setIcon(referrerIcon(row.state));
    item->setToolTip(displayText(row.link));
    widget->addItem(item);
}

} // namespace orvane
