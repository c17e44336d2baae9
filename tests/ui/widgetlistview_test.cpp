#include "ui/widgetlistview.h"

#include <QListWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

using Items = std::vector<std::string>;

Items texts(const WidgetListView &view)
{
    Items out;
    for (int i = 0; i < view.count(); ++i)
        out.push_back(view.textAt(i));
    return out;
}

TEST(WidgetListView, AddingAllAtOnceEqualsAddingOneByOne)
{
    // In order (added in one step), out of order and before what is there
    // (added one by one into place), unsorted lists: each as add would.
    const Items batches[] = {{"/A", "/B", "/b", "/C"}, {"/D", "/a", "/E"}, {"/0"}, {}};
    for (const bool sorted : {true, false}) {
        QListWidget bulkList, singleList;
        WidgetListView bulk(bulkList, sorted), single(singleList, sorted);
        for (const Items &batch : batches) {
            bulk.addAll(batch);
            for (const std::string &text : batch)
                single.add(text);
            EXPECT_EQ(texts(bulk), texts(single)) << sorted;
        }
        for (int i = 0; i < bulk.count(); ++i)
            EXPECT_EQ(bulkList.item(i)->text(), singleList.item(i)->text());
    }
    QListWidget list;
    WidgetListView view(list, true);
    view.addAll({"/a", "/c"});
    EXPECT_EQ(view.textAt(1), "/c");
    EXPECT_EQ(view.textAt(2), "");
    EXPECT_EQ(view.textAt(-1), "");
}

} // namespace
} // namespace orvane
