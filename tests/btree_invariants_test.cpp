// The B-tree invariant check itself must notice each kind of damage.
#include "BTree_invariants.h"

#include <gtest/gtest.h>

#include "btree_builder.h"

namespace {

// ((1) 2 (3) 4 (5 6)) in a tree of order 3.
Node* plantSmallTree(TreeBuilder& tree) {
    return tree.plant(tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}, {4, tree.leaf({5, 6})}}));
}

}  // namespace

TEST(BTreeInvariants, SoundTreePasses) {
    TreeBuilder tree(3);
    plantSmallTree(tree);
    EXPECT_EQ(check_btree(tree.tracker), "");
}

TEST(BTreeInvariants, NoticesAWrongParentLink) {
    TreeBuilder tree(3);
    Node* root = plantSmallTree(tree);
    root->subtree(1)->m_parent = root->subtree(2);
    EXPECT_NE(check_btree(tree.tracker).find("wrong m_parent"), std::string::npos);
}

TEST(BTreeInvariants, NoticesKeysOutOfOrderAcrossNodes) {
    TreeBuilder tree(3);
    Node* root = plantSmallTree(tree);
    root->subtree(1)->set_key(1, 9);
    EXPECT_NE(check_btree(tree.tracker).find("not below the parent's bound"), std::string::npos);
}

TEST(BTreeInvariants, NoticesAnUnderfullNode) {
    TreeBuilder tree(3);
    Node* root = plantSmallTree(tree);
    root->subtree(0)->m_count = 1;
    EXPECT_NE(check_btree(tree.tracker).find("underfull"), std::string::npos);
}

TEST(BTreeInvariants, NoticesLeavesAtDifferentDepths) {
    TreeBuilder tree(3);
    Node* deep = tree.inner(tree.leaf({5}), {{6, tree.leaf({7})}});
    tree.plant(tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}, {4, deep}}));
    EXPECT_NE(check_btree(tree.tracker).find("different depths"), std::string::npos);
}

TEST(BTreeInvariants, NoticesATrackerThatLostTheRoot) {
    TreeBuilder tree(3);
    Node* root = plantSmallTree(tree);
    Node* child = root->subtree(0);
    tree.tracker.m_root = child;
    EXPECT_EQ(check_btree(tree.tracker), "the root has a parent");
    tree.tracker.m_root = root;
}

TEST(BTreeInvariants, NoticesAnInnerElementWithoutASubtree) {
    TreeBuilder tree(3);
    Node* root = plantSmallTree(tree);
    Node* child = root->subtree(2);
    root->set_subtree(2, null_ptr);
    EXPECT_NE(check_btree(tree.tracker).find("inner element 2 lacks a subtree"), std::string::npos);
    root->set_subtree(2, child);
    EXPECT_EQ(check_btree(tree.tracker), "");
}

TEST(BTreeInvariants, NoticesANodeOfAnotherSlotCount) {
    TreeBuilder tree(3);
    Node* root = plantSmallTree(tree);
    Node* wide = Node::create(tree.tracker, 6, NodeKind::leaf);
    wide->vector_insert(Node::Elem(3, nullptr, null_ptr));
    Node* narrow = root->subtree(1);
    root->set_subtree(1, wide);
    wide->m_parent = root;
    EXPECT_NE(check_btree(tree.tracker).find("slot count"), std::string::npos);
    root->set_subtree(1, narrow);
    Node::release(wide);
}
