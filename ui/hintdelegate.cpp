#include "ui/hintdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace orvane {

namespace {

constexpr int HintGap = 12; // between the entry's text and its hint

} // namespace

HintDelegate::HintDelegate(int role, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_role(role)
{
}

void HintDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QString hint = index.data(m_role).toString();
    if (hint.isEmpty())
        return;
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    const int left = textRect.left() + item.fontMetrics.horizontalAdvance(item.text) + HintGap;
    if (left >= textRect.right())
        return;
    QRect hintRect = textRect;
    hintRect.setLeft(left);
    painter->save();
    painter->setPen(item.palette.color(QPalette::Disabled, QPalette::Text));
    painter->drawText(hintRect, Qt::AlignLeft | Qt::AlignVCenter,
                      item.fontMetrics.elidedText(hint, Qt::ElideRight, hintRect.width()));
    painter->restore();
}

} // namespace orvane
