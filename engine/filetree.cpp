#include "engine/filetree.h"

#include <algorithm>
#include <bit>

namespace orvane {

TreeNode::TreeNode(FileTree *tree, TreeNode *parent, std::string text)
    : m_text(std::move(text))
    , m_isRoot(parent == nullptr)
{
    if (m_isRoot)
        m_rootTree = tree;
    else
        m_parent = parent;
}

TreeNode::~TreeNode()
{
    removeAllChildren();
    // Only a node that is open asks its way up to the tree, while its
    // parents still stand.
    if (m_expanded && !m_isRoot)
        --Tree().m_expandedBelowRoot;
}

void TreeNode::appendChild(TreeNode *child)
{
    const uint32_t n = m_childCount;
    // Room runs out when the number of children reaches a power of two.
    if (n == 0 || std::has_single_bit(n)) {
        auto **grown = new TreeNode *[n == 0 ? 1 : 2 * size_t{n}];
        std::copy(m_children, m_children + n, grown);
        delete[] m_children;
        m_children = grown;
    }
    m_children[n] = child;
    m_childCount = n + 1;
}

void TreeNode::removeChild(size_t row)
{
    TreeNode *child = m_children[row];
    std::copy(m_children + row + 1, m_children + m_childCount, m_children + row);
    --m_childCount;
    for (size_t i = row; i < m_childCount; ++i)
        m_children[i]->m_index = static_cast<uint32_t>(i);
    delete child;
    if (m_childCount == 0) {
        delete[] m_children;
        m_children = nullptr;
    }
}

void TreeNode::removeAllChildren()
{
    for (uint32_t i = 0; i < m_childCount; ++i)
        delete m_children[i];
    delete[] m_children;
    m_children = nullptr;
    m_childCount = 0;
}

FileTree &TreeNode::Tree() const
{
    const TreeNode *node = this;
    while (!node->m_isRoot)
        node = node->m_parent;
    return *node->m_rootTree;
}

void TreeNode::changed()
{
    Tree().notifyChanged(this);
}

void TreeNode::SetText(std::string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    changed();
}

void TreeNode::SetImageIndex(int image)
{
    if (image == m_image)
        return;
    m_image = static_cast<int8_t>(image);
    changed();
}

void TreeNode::SetSelectedIndex(int image)
{
    if (image == m_selectedImage)
        return;
    m_selectedImage = static_cast<int8_t>(image);
    changed();
}

void TreeNode::SetStateIndex(int image)
{
    if (image == m_stateImage)
        return;
    m_stateImage = static_cast<int8_t>(image);
    changed();
}

void TreeNode::SetOverlayIndex(int overlay)
{
    if (overlay == m_overlay)
        return;
    m_overlay = static_cast<int8_t>(overlay);
    changed();
}

void TreeNode::SetExpanded(bool expanded)
{
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    FileTree &tree = Tree();
    if (!m_isRoot) {
        if (expanded)
            ++tree.m_expandedBelowRoot;
        else
            --tree.m_expandedBelowRoot;
    }
    if (TreeObserver *o = tree.Observer(); o && !tree.Updating())
        o->expandedChanged(this);
}

FileTree::FileTree()
    : m_root(new TreeNode(this, nullptr, "homepage"))
{
    m_root->m_image = ImgHome;
    m_root->m_selectedImage = ImgHome;
}

FileTree::~FileTree()
{
    // The nodes go while the tree they count themselves in still stands.
    m_root->removeAllChildren();
}

TreeNode *FileTree::AddChild(TreeNode *parent, std::string text)
{
    const size_t row = parent->Count();
    const bool notify = m_observer && !Updating();
    if (notify)
        m_observer->nodeAboutToBeInserted(parent, row);
    auto node = std::unique_ptr<TreeNode>(new TreeNode(this, parent, std::move(text)));
    node->m_index = static_cast<uint32_t>(row);
    TreeNode *raw = node.get();
    parent->appendChild(node.release());
    ++m_count;
    if (notify)
        m_observer->nodeInserted(raw);
    return raw;
}

size_t FileTree::subtreeSize(const TreeNode *node) const
{
    size_t n = 1;
    FileTree::ForEachDescendant(const_cast<TreeNode *>(node), [&n](TreeNode *) { ++n; });
    return n;
}

bool FileTree::inSubtree(const TreeNode *node, const TreeNode *top) const
{
    for (; node; node = node->Parent())
        if (node == top)
            return true;
    return false;
}

void FileTree::Delete(TreeNode *node)
{
    if (!node || node->IsRoot())
        return;
    if (m_selected && inSubtree(m_selected, node))
        Select(nullptr);
    TreeNode *parent = node->m_parent;
    const size_t row = node->m_index;
    const bool notify = m_observer && !Updating();
    if (notify)
        m_observer->nodeAboutToBeRemoved(node);
    m_count -= subtreeSize(node);
    parent->removeChild(row);
    if (notify)
        m_observer->nodeRemoved(parent, row);
}

void FileTree::Clear()
{
    if (!m_root->HasChildren())
        return;
    Select(m_selected && m_selected != m_root.get() ? nullptr : m_selected);
    BeginUpdate();
    m_root->removeAllChildren();
    m_count = 1;
    EndUpdate();
}

void FileTree::Select(TreeNode *node)
{
    if (node == m_selected)
        return;
    m_selected = node;
    if (m_observer)
        m_observer->selectionChanged(node);
}

void FileTree::BeginUpdate()
{
    if (m_updateDepth++ == 0 && m_observer)
        m_observer->beginUpdate();
}

void FileTree::EndUpdate()
{
    if (m_updateDepth > 0 && --m_updateDepth == 0 && m_observer)
        m_observer->endUpdate();
}

void FileTree::notifyChanged(TreeNode *node)
{
    if (m_observer && !Updating())
        m_observer->nodeChanged(node);
}

} // namespace orvane
