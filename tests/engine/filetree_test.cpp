#include "engine/filetree.h"

#include <gtest/gtest.h>

#include <random>

#include <string>
#include <vector>

namespace orvane {
namespace {

struct RecordingObserver : TreeObserver
{
    std::vector<std::string> events;
    void beginUpdate() override { events.push_back("begin"); }
    void endUpdate() override { events.push_back("end"); }
    void nodeAboutToBeInserted(TreeNode *parent, size_t row) override
    {
        events.push_back("insert " + parent->Text() + " " + std::to_string(row));
    }
    void nodeAboutToBeRemoved(TreeNode *node) override
    {
        events.push_back("remove " + node->Text());
    }
    void nodeChanged(TreeNode *node) override { events.push_back("change " + node->Text()); }
    void selectionChanged(TreeNode *node) override
    {
        events.push_back(std::string("select ") + (node ? node->Text() : "none"));
    }
};

TEST(FileTree, RootExistsFromTheStart)
{
    FileTree tree;
    ASSERT_NE(tree.Root(), nullptr);
    EXPECT_EQ(tree.Root()->Text(), "homepage");
    EXPECT_EQ(tree.Root()->ImageIndex(), ImgHome);
    EXPECT_EQ(tree.Root()->SelectedIndex(), ImgHome);
    EXPECT_EQ(tree.Root()->StateIndex(), NoImage);
    EXPECT_EQ(tree.Root()->OverlayIndex(), NoOverlay);
    EXPECT_EQ(tree.Count(), 1u);
}

TEST(FileTree, DeleteRenumbersSiblingsAndCountsTheSubtree)
{
    FileTree tree;
    TreeNode *a = tree.AddChild(tree.Root(), "a");
    TreeNode *b = tree.AddChild(tree.Root(), "b");
    TreeNode *c = tree.AddChild(tree.Root(), "c");
    tree.AddChild(a, "a1");
    tree.AddChild(a, "a2");
    EXPECT_EQ(tree.Count(), 6u);
    tree.Select(a->Child(1));
    tree.Delete(a);
    EXPECT_EQ(tree.Count(), 3u);
    EXPECT_EQ(tree.Selected(), nullptr) << "the selection lay in the deleted subtree";
    EXPECT_EQ(b->Index(), 0u);
    EXPECT_EQ(c->Index(), 1u);
    EXPECT_EQ(tree.Root()->Child(1), c);
    tree.Delete(tree.Root());
    EXPECT_EQ(tree.Count(), 3u) << "the root is never deleted";
}

TEST(FileTree, ObserverHearsSingleChangesOnlyOutsideUpdateBrackets)
{
    FileTree tree;
    RecordingObserver observer;
    tree.SetObserver(&observer);
    TreeNode *a = tree.AddChild(tree.Root(), "a");
    a->SetImageIndex(ImgFolderCyan);
    a->SetImageIndex(ImgFolderCyan); // no change, no notice
    tree.BeginUpdate();
    tree.BeginUpdate();
    tree.AddChild(a, "x");
    a->SetStateIndex(ImgReached);
    tree.EndUpdate();
    tree.EndUpdate();
    tree.Select(a);
    tree.Delete(a);
    const std::vector<std::string> expected = {"insert homepage 0", "change a",    "begin",   "end",
                                               "select a",          "select none", "remove a"};
    EXPECT_EQ(observer.events, expected);
}

TEST(FileTree, ClearKeepsOnlyTheRoot)
{
    FileTree tree;
    TreeNode *a = tree.AddChild(tree.Root(), "a");
    tree.AddChild(a, "b");
    tree.Select(a);
    tree.Clear();
    EXPECT_EQ(tree.Count(), 1u);
    EXPECT_FALSE(tree.Root()->HasChildren());
    EXPECT_EQ(tree.Selected(), nullptr);
}

TEST(FileTree, CountsTheExpandedNodesBelowTheRoot)
{
    FileTree tree;
    TreeNode *a = tree.AddChild(tree.Root(), "a");
    TreeNode *b = tree.AddChild(a, "b");
    TreeNode *c = tree.AddChild(b, "c");
    TreeNode *d = tree.AddChild(tree.Root(), "d");
    tree.Root()->SetExpanded(true);
    EXPECT_EQ(tree.ExpandedBelowRoot(), 0u) << "the root is not counted";
    for (TreeNode *node : {a, b, c, d, b})
        node->SetExpanded(true);
    EXPECT_EQ(tree.ExpandedBelowRoot(), 4u) << "opening an open node again counts nothing";
    d->SetExpanded(false);
    EXPECT_EQ(tree.ExpandedBelowRoot(), 3u);
    tree.Delete(b); // with c
    EXPECT_EQ(tree.ExpandedBelowRoot(), 1u);
    tree.AddChild(a, "e")->SetExpanded(true);
    tree.Clear();
    EXPECT_EQ(tree.ExpandedBelowRoot(), 0u);
    tree.AddChild(tree.Root(), "f")->SetExpanded(true);
    EXPECT_EQ(tree.ExpandedBelowRoot(), 1u);
}

TEST(FileTree, ForEachDescendantIsDepthFirstInDisplayOrder)
{
    FileTree tree;
    TreeNode *a = tree.AddChild(tree.Root(), "a");
    tree.AddChild(a, "a1");
    tree.AddChild(tree.Root(), "b");
    tree.AddChild(a->Child(0), "a1x");
    std::vector<std::string> seen;
    FileTree::ForEachDescendant(tree.Root(), [&](TreeNode *n) { seen.push_back(n->Text()); });
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "a1", "a1x", "b"}));
}

TEST(FileTree, ChildrenStayInOrderAcrossGrowthAndRemovals)
{
    // Children are kept in blocks that grow at powers of two: adding and
    // removing across those sizes keeps every child, its row and its text.
    FileTree tree;
    TreeNode *folder = tree.AddChild(tree.Root(), "folder");
    std::vector<std::string> expected;
    std::mt19937 random(3);
    for (int step = 0; step < 400; ++step) {
        if (expected.empty() || random() % 3 != 0) {
            expected.push_back("n" + std::to_string(step));
            TreeNode *child = tree.AddChild(folder, expected.back());
            if (step % 5 == 0)
                tree.AddChild(child, "anchor");
        } else {
            const size_t row = random() % expected.size();
            tree.Delete(folder->Child(row));
            expected.erase(expected.begin() + static_cast<long>(row));
        }
        ASSERT_EQ(folder->Count(), expected.size());
        for (size_t r = 0; r < expected.size(); ++r) {
            ASSERT_EQ(folder->Child(r)->Text(), expected[r]) << "step " << step;
            ASSERT_EQ(folder->Child(r)->Index(), r);
            ASSERT_EQ(folder->Child(r)->Parent(), folder);
        }
    }
    while (folder->HasChildren())
        tree.Delete(folder->Child(0));
    EXPECT_EQ(folder->Count(), 0u);
    tree.AddChild(folder, "again");
    EXPECT_EQ(folder->Child(0)->Text(), "again");
    EXPECT_EQ(tree.Count(), 3u);
    EXPECT_EQ(&folder->Child(0)->Tree(), &tree);
}

} // namespace
} // namespace orvane
