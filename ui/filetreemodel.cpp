#include "ui/filetreemodel.h"

#include "ui/displaytext.h"

#include <QGuiApplication>

namespace orvane {

FileTreeModel::FileTreeModel(FileTree &tree, QObject *parent)
    : QAbstractItemModel(parent)
    , m_tree(tree)
    , m_shownSelection(tree.Selected())
    , m_devicePixelRatio(qApp ? qApp->devicePixelRatio() : 1.0)
{
    m_tree.SetObserver(this);
}

FileTreeModel::~FileTreeModel()
{
    if (m_tree.Observer() == this)
        m_tree.SetObserver(nullptr);
}

TreeNode *FileTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<TreeNode *>(index.internalPointer()) : nullptr;
}

QModelIndex FileTreeModel::indexOf(TreeNode *node) const
{
    if (!node || (m_suspended && !node->IsRoot()))
        return {};
    return createIndex(static_cast<int>(node->Index()), 0, node);
}

QModelIndex FileTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, m_tree.Root());
    return createIndex(row, column, nodeOf(parent)->Child(static_cast<size_t>(row)));
}

QModelIndex FileTreeModel::parent(const QModelIndex &child) const
{
    const TreeNode *node = nodeOf(child);
    if (!node || node->IsRoot())
        return {};
    return indexOf(node->Parent());
}

int FileTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    if (!parent.isValid())
        return 1; // the root node, which always exists
    if (m_suspended)
        return 0;
    return static_cast<int>(nodeOf(parent)->Count());
}

int FileTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool FileTreeModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant FileTreeModel::data(const QModelIndex &index, int role) const
{
    const TreeNode *node = nodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(node->Text());
    case Qt::DecorationRole:
        return decoration(node);
    default:
        return {};
    }
}

QVariant FileTreeModel::decoration(const TreeNode *node) const
{
    const bool selected = node == m_tree.Selected();
    const int image =
        selected && node->SelectedIndex() >= 0 ? node->SelectedIndex() : node->ImageIndex();
    return m_images.decoration(node->StateIndex(), image, node->OverlayIndex(), m_devicePixelRatio);
}

Qt::ItemFlags FileTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void FileTreeModel::setDevicePixelRatio(qreal ratio)
{
    if (qFuzzyCompare(ratio, m_devicePixelRatio))
        return;
    beginResetModel();
    m_devicePixelRatio = ratio;
    endResetModel();
    emit treeRebuilt();
}

void FileTreeModel::beginUpdate()
{
    // From here on the engine replaces nodes wholesale without telling each
    // change; the view is left with the root alone until the bracket ends.
    beginResetModel();
    m_suspended = true;
    endResetModel();
}

void FileTreeModel::endUpdate()
{
    beginResetModel();
    m_suspended = false;
    m_shownSelection = m_tree.Selected();
    endResetModel();
    emit treeRebuilt();
}

void FileTreeModel::nodeAboutToBeInserted(TreeNode *parent, size_t row)
{
    const int r = static_cast<int>(row);
    beginInsertRows(indexOf(parent), r, r);
}

void FileTreeModel::nodeInserted(TreeNode *)
{
    endInsertRows();
}

void FileTreeModel::nodeAboutToBeRemoved(TreeNode *node)
{
    const int r = static_cast<int>(node->Index());
    beginRemoveRows(indexOf(node->Parent()), r, r);
}

void FileTreeModel::nodeRemoved(TreeNode *, size_t)
{
    endRemoveRows();
}

void FileTreeModel::nodeChanged(TreeNode *node)
{
    const QModelIndex index = indexOf(node);
    if (index.isValid())
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::DecorationRole});
}

void FileTreeModel::expandedChanged(TreeNode *node)
{
    emit treeExpandedChanged(node);
}

void FileTreeModel::selectionChanged(TreeNode *node)
{
    // The selected node shows its selected picture, so both nodes repaint.
    TreeNode *previous = m_shownSelection;
    m_shownSelection = node;
    if (!m_suspended) {
        nodeChanged(previous);
        nodeChanged(node);
    }
    emit treeSelectionChanged(node);
}

} // namespace orvane
