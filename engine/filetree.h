#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class FileObject;
class FileTree;

/// Indices into the program's 14 tree pictures; the engine writes them into the
/// nodes, so they are data, not decoration.
enum TreeImage : int {
    NoImage = -1,
    ImgHome = 0,             // root node
    ImgFolderYellow = 1,     // folder whose files are all in order
    ImgFolderCyan = 2,       // folder with an unreached file or a page needing attention
    ImgFolderYellowOpen = 3, // selected image paired with 1
    ImgFolderCyanOpen = 4,   // selected image paired with 2
    ImgPageWhite = 5,        // HTML file in order
    ImgPageBlue = 6,         // HTML file that needs attention
    ImgTopPage = 7,          // state: top page
    ImgPicture = 8,          // image file
    ImgBlankPage = 9,        // any other file
    ImgUnreached = 10,       // state: file unreached / anchor not referenced
    ImgReached = 11,         // state: file reached / anchor referenced (empty picture)
    ImgAnchor = 12,          // anchor node
    ImgExcluded = 13,        // drawn as overlay 0 over an excluded file
};
inline constexpr int TreeImageCount = 14;
inline constexpr int OverlayExcluded = 0; // overlay index that shows ImgExcluded
inline constexpr int NoOverlay = -1;

/// One node of the site tree: the root (home folder), a folder, a file (with its
/// FileObject) or an anchor below a page. Attribute changes go through the
/// setters so the tree's observer hears of them.
class TreeNode
{
public:
    ~TreeNode();
    TreeNode(const TreeNode &) = delete;
    TreeNode &operator=(const TreeNode &) = delete;

    const std::string &Text() const { return m_text; }
    int ImageIndex() const { return m_image; }
    int SelectedIndex() const { return m_selectedImage; }
    int StateIndex() const { return m_stateImage; }
    int OverlayIndex() const { return m_overlay; }
    FileObject *Data() const { return m_data; }
    bool Expanded() const { return m_expanded; }

    void SetText(std::string text);
    void SetImageIndex(int image);
    void SetSelectedIndex(int image);
    void SetStateIndex(int image);
    void SetOverlayIndex(int overlay);
    void SetData(FileObject *data) { m_data = data; }
    void SetExpanded(bool expanded);

    TreeNode *Parent() const { return m_isRoot ? nullptr : m_parent; }
    size_t Count() const { return m_childCount; }
    bool HasChildren() const { return m_childCount > 0; }
    TreeNode *Child(size_t i) const { return m_children[i]; }
    /// Fetches the list of children into the cache, for a look-up to come.
    void PrefetchChildren() const { __builtin_prefetch(m_children); }
    /// Position among the parent's children (0 for the root).
    size_t Index() const { return m_index; }
    bool IsRoot() const { return m_isRoot; }
    /// The tree the node belongs to, found through the root.
    FileTree &Tree() const;

private:
    friend class FileTree;
    TreeNode(FileTree *tree, TreeNode *parent, std::string text);
    void changed();
    void appendChild(TreeNode *child);
    /// Removes and destroys the child at row.
    void removeChild(size_t row);
    void removeAllChildren();

    // A site has several nodes a page (its anchors), so a node is kept small:
    // only the root knows the tree, and the pictures are indices below
    // TreeImageCount.
    union {
        TreeNode *m_parent;   // of every node but the root
        FileTree *m_rootTree; // of the root
    };
    std::string m_text;
    FileObject *m_data = nullptr;
    // The children, owned: one block with room for the next power of two of
    // their number, made with the first child; most nodes (anchors) have none.
    TreeNode **m_children = nullptr;
    uint32_t m_childCount = 0;
    uint32_t m_index = 0;
    int8_t m_image = NoImage;
    int8_t m_selectedImage = NoImage;
    int8_t m_stateImage = NoImage;
    int8_t m_overlay = NoOverlay;
    bool m_expanded = false;
    bool m_isRoot = false;
};

/// Hears of every change of the tree, so a view can follow it. Between
/// beginUpdate and endUpdate (the "suspend repainting" bracket, outermost pair
/// only) a view may ignore the single notices and refresh once at the end.
class TreeObserver
{
public:
    virtual ~TreeObserver() = default;
    virtual void beginUpdate() {}
    virtual void endUpdate() {}
    virtual void nodeAboutToBeInserted(TreeNode *parent, size_t row)
    {
        (void)parent;
        (void)row;
    }
    virtual void nodeInserted(TreeNode *node) { (void)node; }
    virtual void nodeAboutToBeRemoved(TreeNode *node) { (void)node; }
    virtual void nodeRemoved(TreeNode *parent, size_t row)
    {
        (void)parent;
        (void)row;
    }
    virtual void nodeChanged(TreeNode *node) { (void)node; }
    virtual void expandedChanged(TreeNode *node) { (void)node; }
    virtual void selectionChanged(TreeNode *node) { (void)node; }
};

/// The site tree: one root node that always exists ("homepage", house image),
/// below it folders, files and anchors, plus the selected node.
class FileTree
{
public:
    FileTree();
    ~FileTree();
    FileTree(const FileTree &) = delete;
    FileTree &operator=(const FileTree &) = delete;

    TreeNode *Root() const { return m_root.get(); }
    /// Appends a child with the given text; returns it.
    TreeNode *AddChild(TreeNode *parent, std::string text);
    /// Deletes a node that is not the root, with its subtree. The selection is
    /// cleared when it lies in that subtree.
    void Delete(TreeNode *node);
    /// Deletes every node but the root.
    void Clear();
    /// Number of nodes, root included.
    size_t Count() const { return m_count; }
    /// Number of expanded nodes other than the root: a view restoring the
    /// open nodes of a large tree stops looking once it has found them all.
    size_t ExpandedBelowRoot() const { return m_expandedBelowRoot; }

    TreeNode *Selected() const { return m_selected; }
    void Select(TreeNode *node);

    /// Suspends repainting; brackets nest, the observer hears the outermost.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return m_updateDepth > 0; }

    void SetObserver(TreeObserver *observer) { m_observer = observer; }
    TreeObserver *Observer() const { return m_observer; }

    /// Every node below node (node excluded), depth first, in display order.
    template<typename F>
    static void ForEachDescendant(TreeNode *node, F &&f);

private:
    friend class TreeNode;
    void notifyChanged(TreeNode *node);
    size_t subtreeSize(const TreeNode *node) const;
    bool inSubtree(const TreeNode *node, const TreeNode *top) const;

    std::unique_ptr<TreeNode> m_root;
    TreeNode *m_selected = nullptr;
    TreeObserver *m_observer = nullptr;
    int m_updateDepth = 0;
    size_t m_count = 1;
    size_t m_expandedBelowRoot = 0;
};

template<typename F>
void FileTree::ForEachDescendant(TreeNode *node, F &&f)
{
    std::vector<TreeNode *> stack;
    for (size_t i = node->Count(); i-- > 0;)
        stack.push_back(node->Child(i));
    while (!stack.empty()) {
        TreeNode *n = stack.back();
        stack.pop_back();
        f(n);
        for (size_t i = n->Count(); i-- > 0;)
            stack.push_back(n->Child(i));
    }
}

} // namespace orvane
