#include "engine/filetree.h"

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
    if (TreeObserver *o = tree.Observer(); o && !tree.Updating())
        o->expandedChanged(this);
}

FileTree::FileTree()
    : m_root(new TreeNode(this, nullptr, "homepage"))
{
    m_root->m_image = ImgHome;
    m_root->m_selectedImage = ImgHome;
}

FileTree::~FileTree() = default;

TreeNode *FileTree::AddChild(TreeNode *parent, std::string text)
{
    const size_t row = parent->Count();
    const bool notify = m_observer && !Updating();
    if (notify)
        m_observer->nodeAboutToBeInserted(parent, row);
    auto node = std::unique_ptr<TreeNode>(new TreeNode(this, parent, std::move(text)));
    node->m_index = static_cast<uint32_t>(row);
    TreeNode *raw = node.get();
    if (!parent->m_children)
        parent->m_children = std::make_unique<std::vector<std::unique_ptr<TreeNode>>>();
    parent->m_children->push_back(std::move(node));
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
    std::vector<std::unique_ptr<TreeNode>> &siblings = *parent->m_children;
    siblings.erase(siblings.begin() + static_cast<long>(row));
    for (size_t i = row; i < siblings.size(); ++i)
        siblings[i]->m_index = static_cast<uint32_t>(i);
    if (notify)
        m_observer->nodeRemoved(parent, row);
}

void FileTree::Clear()
{
    if (!m_root->HasChildren())
        return;
    Select(m_selected && m_selected != m_root.get() ? nullptr : m_selected);
    BeginUpdate();
    m_root->m_children.reset();
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
