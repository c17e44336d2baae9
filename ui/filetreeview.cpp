#include "ui/filetreeview.h"

#include "engine/filetree.h"
#include "ui/filetreemodel.h"

#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QWindow>

namespace orvane {

FileTreeView::FileTreeView(QWidget *parent)
    : QTreeView(parent)
{
    setHeaderHidden(true);
    setUniformRowHeights(true); // keeps a tree of many thousand nodes fast
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setIndentation(19);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex &index) { viewExpandedChanged(index, true); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex &index) { viewExpandedChanged(index, false); });
}

void FileTreeView::setTreeModel(FileTreeModel *model)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    setModel(model);
    if (!model)
        return;
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileTreeView::viewSelectionChanged);
    connect(model, &FileTreeModel::treeSelectionChanged, this, [this](TreeNode *node) {
        showTreeSelection(node);
        emit nodeSelectionChanged(node);
    });
    connect(model, &FileTreeModel::treeExpandedChanged, this, &FileTreeView::showTreeExpanded);
    connect(model, &FileTreeModel::treeRebuilt, this, &FileTreeView::restoreFromTree);
    restoreFromTree();
}

void FileTreeView::showTreeSelection(TreeNode *node)
{
    if (m_model->suspended())
        return; // shown when the bracket ends
    const QModelIndex index = m_model->indexOf(node);
    const QScopedValueRollback<bool> guard(m_syncing, true);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index); // opens the folders above it, and the tree learns they are open
}

void FileTreeView::showTreeExpanded(TreeNode *node)
{
    const QModelIndex index = m_model->indexOf(node);
    if (index.isValid())
        setExpanded(index, node->Expanded());
}

void FileTreeView::restoreFromTree()
{
    if (!m_model)
        return;
    FileTree &tree = m_model->tree();
    if (tree.Root()->Expanded())
        expand(m_model->indexOf(tree.Root()));
    size_t left = tree.ExpandedBelowRoot();
    if (left > 0)
        expandOpenBelow(tree.Root(), left);
    showTreeSelection(tree.Selected());
}

void FileTreeView::expandOpenBelow(TreeNode *node, size_t &left)
{
    // Runs over the folders and files of a site of many thousand files while
    // the window waits, so it touches each at most once, keeps no list of
    // them and stops at the last open one. A file's children are its anchors,
    // which hold nothing: they are not gone through, there are several times
    // more of them than of files.
    for (size_t i = 0, n = node->Count(); i < n; ++i) {
        TreeNode *child = node->Child(i);
        if (!child->HasChildren())
            continue;
        if (child->Expanded()) {
            expand(m_model->indexOf(child));
            if (--left == 0)
                return;
        }
        if (!child->Data()) {
            expandOpenBelow(child, left);
            if (left == 0)
                return;
        }
    }
}

void FileTreeView::viewSelectionChanged()
{
    if (m_syncing || !m_model)
        return;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    m_model->tree().Select(selected.isEmpty() ? nullptr : m_model->nodeOf(selected.first()));
}

void FileTreeView::viewExpandedChanged(const QModelIndex &index, bool expanded)
{
    // Always told to the tree: when the view follows the tree this changes
    // nothing, and folders the view opens to show a selected node stay open.
    if (!m_model)
        return;
    if (TreeNode *node = m_model->nodeOf(index))
        node->SetExpanded(expanded);
}

void FileTreeView::showEvent(QShowEvent *event)
{
    QTreeView::showEvent(event);
    followPixelDensity();
    QWindow *handle = window()->windowHandle();
    if (!m_watchingScreen && handle) {
        // A window moved to a screen of another density redraws its pictures.
        connect(handle, &QWindow::screenChanged, this, &FileTreeView::followPixelDensity);
        m_watchingScreen = true;
    }
}

void FileTreeView::followPixelDensity()
{
    if (m_model)
        m_model->setDevicePixelRatio(devicePixelRatioF());
}

void FileTreeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton && m_model) {
        const QModelIndex index = indexAt(event->position().toPoint());
        m_model->tree().Select(index.isValid() ? m_model->nodeOf(index) : nullptr);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void FileTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event); // expands or collapses as usual
    if (event->button() == Qt::LeftButton)
        emit treeDoubleClicked(event->modifiers().testFlag(Qt::ShiftModifier));
}

} // namespace orvane
