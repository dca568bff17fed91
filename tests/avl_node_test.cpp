// AVL node operations: rotations, rebalancing and the removal rules.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "AVLBinaryTree.h"
#include "stdout_capture.h"

namespace {

// A bare node tree, grown the way the map grows it: insert below the root,
// then rebalance the root. Its pool holds the nodes and records, and
// releases them all when the tree goes.
class NodeTree {
public:
    explicit NodeTree(std::initializer_list<int> keys) {
        for (int key : keys) {
            add(key);
        }
    }

    bool add(int key) {
        NodeData* record = pool.newRecord(key, nullptr);
        if (root == nullptr) {
            root = AVLBinaryTreeNode::createFor(record);
            return true;
        }
        const bool inserted = root->insert(record);
        root = root->rebalance();
        if (!inserted) {
            pool.freeRecord(record);
        }
        return inserted;
    }

    std::string preorder() const {
        return writtenBy([this](std::ostream& out) { root->preorderTraversal(out); });
    }

    // Detaches a node that a removal handed back from its former links; the
    // pool releases its slot with the rest.
    static void release(AVLBinaryTreeNode* removed) {
        removed->left = nullptr;
        removed->right = nullptr;
    }

    AVLSlotPool pool;
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

TEST(AVLSlotPool, ReusesAReturnedSlotAndCountsTheLiveOnes) {
    AVLSlotPool pool;
    NodeData* first = pool.newRecord(1, nullptr);
    NodeData* second = pool.newRecord(2, nullptr);
    EXPECT_EQ(pool.liveSlots(), 2u);
    EXPECT_NE(first, second);
    pool.freeRecord(second);
    EXPECT_EQ(pool.liveSlots(), 1u);
    NodeData* third = pool.newRecord(3, nullptr);
    EXPECT_EQ(third, second);
    EXPECT_EQ(third->key, 3);
    AVLBinaryTreeNode* node = AVLBinaryTreeNode::createFor(first);
    EXPECT_EQ(node->nodeData, first);
    EXPECT_EQ(AVLSlotPool::recordBeside(node), first);
    pool.freeNode(node);
    EXPECT_EQ(pool.liveSlots(), 1u);
}

TEST(AVLSlotPool, GrowsPastOneSlabAndKeepsEveryRecordIntact) {
    AVLSlotPool pool;
    std::vector<NodeData*> records;
    for (int key = 0; key < 1000; ++key) {
        records.push_back(pool.newRecord(key, nullptr));
    }
    for (int key = 0; key < 1000; ++key) {
        ASSERT_EQ(records[key]->key, key);
    }
    EXPECT_EQ(pool.liveSlots(), 1000u);
}

TEST(AVLNode, InvariantCheckNoticesARecordOutsideItsSlot) {
    NodeTree tree({2, 1, 3});
    NodeData* own = tree.root->nodeData;
    tree.root->nodeData = tree.root->left->nodeData;
    EXPECT_NE(checkAvlSubtree(tree.root).find("record outside its node's slot"), std::string::npos);
    tree.root->nodeData = own;
    EXPECT_EQ(checkAvlSubtree(tree.root), "");
}

#if defined(__SANITIZE_ADDRESS__)
#define MAPBENCH_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAPBENCH_TEST_ASAN 1
#endif
#endif

#ifdef MAPBENCH_TEST_ASAN
// The pool reuses its slots, so the sanitizer would not see a use after
// release on its own: free slots are poisoned.
TEST(AVLSlotPoolDeathTest, AReleasedSlotIsOffLimitsUnderAddressSanitizer) {
    AVLSlotPool pool;
    NodeData* record = pool.newRecord(5, nullptr);
    pool.freeRecord(record);
    volatile int* key = &record->key;
    EXPECT_DEATH(static_cast<void>(*key), "use-after-poison");
}
#endif

TEST(AVLSlotPool, AnEmptiedPoolHandsOutItsSlotsInAddressOrderAgain) {
    AVLSlotPool pool;
    std::vector<NodeData*> records;
    for (int key = 0; key < 300; ++key) {
        records.push_back(pool.newRecord(key, nullptr));
    }
    for (int key = 299; key >= 0; --key) {
        pool.freeRecord(records[key]);
    }
    pool.restartWhenEmpty();
    for (int key = 0; key < 300; ++key) {
        ASSERT_EQ(pool.newRecord(key, nullptr), records[key]) << key;
    }
    pool.restartWhenEmpty();  // some slots are in use: nothing changes
    EXPECT_EQ(pool.liveSlots(), 300u);
    NodeData* next = pool.newRecord(300, nullptr);
    EXPECT_NE(next, records[0]);
}
