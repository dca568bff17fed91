// AVL node operations: rotations, rebalancing and the removal rules.
#include <gtest/gtest.h>

#include <memory>

#include "AVLBinaryTree.h"
#include "stdout_capture.h"

namespace {

// A bare node tree, grown the way the map grows it: insert below the root,
// then rebalance the root.
class NodeTree {
public:
    explicit NodeTree(std::initializer_list<int> keys) {
        for (int key : keys) {
            add(key);
        }
    }
    ~NodeTree() { delete root; }

    bool add(int key) {
        auto record = std::make_unique<NodeData>(key, nullptr);
        if (root == nullptr) {
            root = new AVLBinaryTreeNode(record.release());
            return true;
        }
        const bool inserted = root->insert(record.get());
        root = root->rebalance();
        if (inserted) {
            record.release();
        }
        return inserted;
    }

    std::string preorder() const {
        return writtenBy([this](std::ostream& out) { root->preorderTraversal(out); });
    }

    // Frees a node that a removal handed back, without its former links.
    static void release(AVLBinaryTreeNode* removed) {
        removed->left = nullptr;
        removed->right = nullptr;
        delete removed;
    }

    AVLBinaryTreeNode* root = nullptr;
};

}  // namespace

TEST(AVLNode, EveryInsertionOrderOfThreeKeysEndsBalanced) {
    for (auto keys : {std::initializer_list<int>{1, 2, 3}, {3, 2, 1}, {3, 1, 2}, {1, 3, 2}}) {
        NodeTree tree(keys);
        EXPECT_EQ(tree.preorder(), "2(0),1(0),3(0)");
        EXPECT_EQ(checkAvlSubtree(tree.root), "");
    }
}

TEST(AVLNode, PreorderTraversalWritesKeyAndBalance) {
    NodeTree tree({20, 10, 30, 5});
    EXPECT_EQ(tree.preorder(), "20(-1),10(-1),5(0),30(0)");
}

TEST(AVLNode, DuplicateInsertChangesNothing) {
    NodeTree tree({4, 2, 6, 1});
    const std::string before = tree.preorder();
    EXPECT_FALSE(tree.add(2));
    EXPECT_FALSE(tree.add(4));
    EXPECT_EQ(tree.preorder(), before);
}

TEST(AVLNode, RemovingAnAbsentKeyChangesNothing) {
    NodeTree tree({4, 2, 6, 1, 3});
    const std::string before = tree.preorder();
    EXPECT_EQ(tree.root->removeKey(5), nullptr);
    EXPECT_EQ(tree.root->removeKey(-9), nullptr);
    EXPECT_EQ(tree.preorder(), before);
}

TEST(AVLNode, EvenKeyIsReplacedByItsSuccessor) {
    NodeTree tree({20, 10, 30});
    AVLBinaryTreeNode* removed = tree.root->removeKey(20);
    EXPECT_EQ(removed->nodeData->key, 20);
    EXPECT_EQ(tree.preorder(), "30(-1),10(0)");
    EXPECT_EQ(tree.root->right, nullptr);
    NodeTree::release(removed);
}

TEST(AVLNode, OddKeyIsReplacedByItsPredecessor) {
    NodeTree tree({21, 10, 30});
    AVLBinaryTreeNode* removed = tree.root->removeKey(21);
    EXPECT_EQ(removed->nodeData->key, 21);
    EXPECT_EQ(tree.preorder(), "10(1),30(0)");
    NodeTree::release(removed);
}

TEST(AVLNode, NegativeOddKeyIsReplacedByItsPredecessor) {
    NodeTree tree({-21, -30, -10});
    AVLBinaryTreeNode* removed = tree.root->removeKey(-21);
    EXPECT_EQ(removed->nodeData->key, -21);
    EXPECT_EQ(tree.preorder(), "-30(1),-10(0)");
    NodeTree::release(removed);
}

TEST(AVLNode, RotationOverAChildOfBalanceZeroKeepsTheHeight) {
    NodeTree tree({2, 1, 4, 3, 5});
    ASSERT_EQ(tree.preorder(), "2(1),1(0),4(0),3(0),5(0)");
    AVLBinaryTreeNode* removed = tree.root->removeKey(1);
    EXPECT_EQ(removed->nodeData->key, 1);
    EXPECT_EQ(tree.root->left, nullptr);
    NodeTree::release(removed);
    EXPECT_EQ(tree.root->balance, 2);
    tree.root = tree.root->rebalance();
    EXPECT_EQ(tree.preorder(), "4(-1),2(1),3(0),5(0)");
    EXPECT_EQ(checkAvlSubtree(tree.root), "");
}

TEST(AVLNode, RemoveThisNodeWithOnlyARightChildMovesItLeft) {
    NodeTree tree({1, 2});
    AVLBinaryTreeNode* child = tree.root->right;
    EXPECT_EQ(tree.root->removeThisNode(), tree.root);
    EXPECT_EQ(tree.root->left, child);
    EXPECT_EQ(tree.root->right, nullptr);
}

TEST(AVLNode, RemoveThisNodeLeavesLeavesAndLeftOnlyNodesAlone) {
    NodeTree leaf({7});
    EXPECT_EQ(leaf.root->removeThisNode(), leaf.root);
    EXPECT_EQ(leaf.root->left, nullptr);
    NodeTree leftOnly({7, 3});
    AVLBinaryTreeNode* child = leftOnly.root->left;
    EXPECT_EQ(leftOnly.root->removeThisNode(), leftOnly.root);
    EXPECT_EQ(leftOnly.root->left, child);
}

TEST(AVLNode, RotationsWithoutAPivotChangeNothing) {
    NodeTree rightOnly({1, 2});
    EXPECT_EQ(rightOnly.root->rotateRight(), rightOnly.root);
    EXPECT_EQ(rightOnly.preorder(), "1(1),2(0)");
    NodeTree leftOnly({2, 1});
    EXPECT_EQ(leftOnly.root->rotateLeft(), leftOnly.root);
    EXPECT_EQ(leftOnly.preorder(), "2(-1),1(0)");
}

TEST(AVLNode, LoneNodeHasSizeAndDepthOne) {
    NodeTree tree({5});
    EXPECT_EQ(tree.root->size(), 1);
    EXPECT_EQ(tree.root->depth(), 1);
    EXPECT_EQ(tree.root->first(), tree.root->nodeData);
    EXPECT_EQ(tree.root->last(), tree.root->nodeData);
}

TEST(AVLNode, FirstAndLastAreTheExtremeKeys) {
    NodeTree tree({50, 20, 80, 10, 30, 70, 90, 5});
    EXPECT_EQ(tree.root->first()->key, 5);
    EXPECT_EQ(tree.root->last()->key, 90);
    EXPECT_EQ(tree.root->size(), 8);
    EXPECT_EQ(tree.root->depth(), 4);
}

TEST(AVLNode, InvariantCheckNoticesAWrongBalanceAndBrokenOrder) {
    NodeTree tree({2, 1, 3});
    tree.root->balance = 1;
    EXPECT_NE(checkAvlSubtree(tree.root).find("balance 1 but heights differ by 0"),
              std::string::npos);
    tree.root->balance = 0;
    tree.root->left->nodeData->key = 9;
    EXPECT_NE(checkAvlSubtree(tree.root).find("search order"), std::string::npos);
}
