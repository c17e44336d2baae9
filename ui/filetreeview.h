#pragma once

#include <QTreeView>

namespace orvane {

class FileTreeModel;
class TreeNode;

/// The site tree's view. It keeps the view's selection and expanded nodes in
/// step with the engine's tree in both directions and tells every change of
/// the tree's selected node once, whoever made it. A right click selects the
/// node under the pointer, or nothing where there is none.
class FileTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit FileTreeView(QWidget *parent = nullptr);

    void setTreeModel(FileTreeModel *model);
    FileTreeModel *treeModel() const { return m_model; }

signals:
    /// The tree's selected node changed (none: nullptr).
    void nodeSelectionChanged(orvane::TreeNode *node);
    /// A double click with the left button anywhere in the tree, after the
    /// view's own handling; shift tells whether Shift was held down.
    void treeDoubleClicked(bool shift);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showTreeSelection(TreeNode *node);
    void showTreeExpanded(TreeNode *node);
    void restoreFromTree();
    void expandOpenBelow(TreeNode *node, size_t &left);
    void viewSelectionChanged();
    void viewExpandedChanged(const QModelIndex &index, bool expanded);

    void followPixelDensity();

    FileTreeModel *m_model = nullptr;
    bool m_watchingScreen = false;
    bool m_syncing = false; // a selection the view makes to follow the tree
};

} // namespace orvane
