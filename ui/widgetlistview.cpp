#include "ui/widgetlistview.h"

#include "base/strutil.h"
#include "ui/displaytext.h"

#include <QListWidget>

#include <algorithm>

namespace orvane {

WidgetListView::WidgetListView(QListWidget &list, bool sorted)
    : m_list(list)
    , m_sorted(sorted)
{
}

std::string WidgetListView::textAt(int index) const
{
    const QListWidgetItem *item = m_list.item(index);
    return item ? item->data(Qt::UserRole).toByteArray().toStdString() : std::string();
}

int WidgetListView::insertPosition(const std::string &text) const
{
    // Halving over the entries, which stay in order because only this view
    // adds to the list. Entries mostly come in order: the end is tried first.
    const int count = m_list.count();
    if (count == 0 || CompareText(textAt(count - 1), text) <= 0)
        return count;
    int low = 0;
    int high = m_list.count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareText(textAt(middle), text) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void WidgetListView::add(const std::string &text)
{
    auto *item = new QListWidgetItem(displayText(text));
    item->setData(Qt::UserRole, QByteArray::fromStdString(text));
    m_list.insertItem(m_sorted ? insertPosition(text) : m_list.count(), item);
}

void WidgetListView::addAll(const std::vector<std::string> &texts)
{
    // Texts that go to the end, as a project file's lists do, are inserted in
    // one step: a list box that takes its rows one at a time takes long for
    // a hundred thousand.
    const bool toTheEnd =
        !m_sorted || std::is_sorted(texts.begin(), texts.end(), TextLess()) &&
                         (texts.empty() || insertPosition(texts.front()) == m_list.count());
    if (!toTheEnd) {
        ProjectListView::addAll(texts);
        return;
    }
    const int first = m_list.count();
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string &text : texts)
        shown.push_back(displayText(text));
    m_list.addItems(shown);
    for (size_t i = 0; i < texts.size(); ++i)
        m_list.item(first + static_cast<int>(i))
            ->setData(Qt::UserRole, QByteArray::fromStdString(texts[i]));
}

void WidgetListView::deleteAt(int index)
{
    delete m_list.takeItem(index);
}

int WidgetListView::indexOf(const std::string &text) const
{
    for (int i = 0; i < m_list.count(); ++i)
        if (SameText(textAt(i), text))
            return i;
    return -1;
}

void WidgetListView::clear()
{
    m_list.clear();
}

int WidgetListView::count() const
{
    return m_list.count();
}

void WidgetListView::beginUpdate()
{
    m_list.setUpdatesEnabled(false);
}

void WidgetListView::endUpdate()
{
    m_list.setUpdatesEnabled(true);
}

} // namespace orvane
