#pragma once

#include "project/projectview.h"

#include <string>

class QListWidget;

namespace orvane {

/// A list box of the project window as the project model's displayed list.
/// Each entry keeps the model's bytes; the text shown is decoded from them.
/// A sorted list places a new entry after those equal to it without case.
class WidgetListView : public ProjectListView
{
public:
    WidgetListView(QListWidget &list, bool sorted);

    void add(const std::string &text) override;
    void addAll(const std::vector<std::string> &texts) override;
    void deleteAt(int index) override;
    int indexOf(const std::string &text) const override;
    void clear() override;
    int count() const override;
    void beginUpdate() override;
    void endUpdate() override;

    /// The model's bytes of the entry at index.
    std::string textAt(int index) const override;

private:
    int insertPosition(const std::string &text) const;

    QListWidget &m_list;
    bool m_sorted;
};

} // namespace orvane
