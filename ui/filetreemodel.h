#pragma once

#include "engine/filetree.h"
#include "ui/treeimages.h"

#include <QAbstractItemModel>

namespace orvane {

/// The site tree as a Qt item model: one column, the node in each index's
/// internal pointer, texts decoded for display, the composed pictures as
/// decoration. It follows the tree through the tree's observer: single changes
/// become row insertions, removals and data changes; a "suspend repainting"
/// bracket shows only the root node until it ends and then one reset shows
/// the rebuilt tree, so a view never reaches a node the engine is replacing.
class FileTreeModel : public QAbstractItemModel, private TreeObserver
{
    Q_OBJECT

public:
    explicit FileTreeModel(FileTree &tree, QObject *parent = nullptr);
    ~FileTreeModel() override;

    FileTree &tree() const { return m_tree; }
    /// Whether the tree is inside a repaint bracket (only the root is shown).
    bool suspended() const { return m_suspended; }

    TreeNode *nodeOf(const QModelIndex &index) const;
    /// The index of a node; invalid for none or while suspended (but the root).
    QModelIndex indexOf(TreeNode *node) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    /// The pixel density the pictures are drawn for.
    void setDevicePixelRatio(qreal ratio);

signals:
    /// The tree's selected node changed (none: nullptr).
    void treeSelectionChanged(orvane::TreeNode *node);
    /// A node was expanded or collapsed in the tree.
    void treeExpandedChanged(orvane::TreeNode *node);
    /// A repaint bracket ended and the rebuilt tree is shown: views restore
    /// the expanded nodes and the selection from the tree.
    void treeRebuilt();

private:
    void beginUpdate() override;
    void endUpdate() override;
    void nodeAboutToBeInserted(TreeNode *parent, size_t row) override;
    void nodeInserted(TreeNode *node) override;
    void nodeAboutToBeRemoved(TreeNode *node) override;
    void nodeRemoved(TreeNode *parent, size_t row) override;
    void nodeChanged(TreeNode *node) override;
    void expandedChanged(TreeNode *node) override;
    void selectionChanged(TreeNode *node) override;

    QVariant decoration(const TreeNode *node) const;

    FileTree &m_tree;
    bool m_suspended = false;
    TreeNode *m_shownSelection = nullptr;
    qreal m_devicePixelRatio = 1.0;
    mutable TreeImages m_images;
};

} // namespace orvane
