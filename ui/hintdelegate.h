#pragma once

#include <QStyledItemDelegate>

namespace orvane {

/// Draws a list entry as usual and, when it has a hint, the hint greyed
/// after its text.
class HintDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    /// role is the item data role that holds the hint.
    HintDelegate(int role, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    int m_role;
};

} // namespace orvane
