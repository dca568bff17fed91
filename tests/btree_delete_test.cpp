// B-tree deletion: borrowing, merging, successor replacement, root collapse
// and the diagnostics of a broken tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>

#include "BTree_invariants.h"
#include "btree_builder.h"

namespace {

std::unique_ptr<BTree> treeWithKeys(int order, std::initializer_list<int> keys) {
    auto tree = std::make_unique<BTree>(order);
    for (int key : keys) {
        tree->insert(key, nullptr);
    }
    return tree;
}

void expectErase(TreeBuilder& tree, int key, const std::string& shapeAfter) {
    EXPECT_TRUE(tree.erase(key));
    EXPECT_EQ(tree.shape(), shapeAfter);
    EXPECT_EQ(check_btree(tree.tracker), "");
}

// What index_has_subtree prints for a node its parent does not hold where
// expected; it must then throw "error in index_has_subtree".
std::string diagnosticOf(Node* node) {
    std::ostringstream diagnostic;
    node->m_root_tracker.m_diagnostics = &diagnostic;
    try {
        node->index_has_subtree();
        ADD_FAILURE() << "no exception";
    } catch (const char* message) {
        EXPECT_STREQ(message, "error in index_has_subtree");
    }
    return diagnostic.str();
}

}  // namespace

TEST(BTreeDelete, AbsentKeyChangesNothing) {
    BTree empty(3);
    EXPECT_FALSE(empty.erase(4));
    EXPECT_EQ(shapeOf(empty), "size=0 ()");
    auto tree = treeWithKeys(3, {1, 2, 3, 4, 5, 6, 7});
    EXPECT_FALSE(tree->erase(8));
    EXPECT_FALSE(tree->erase(-1));
    EXPECT_EQ(shapeOf(*tree), "size=7 (((1) 2 (3)) 4 ((5) 6 (7)))");
}

TEST(BTreeDelete, RootLeafEmptiesInPlaceAndIsReused) {
    BTree tree(5);
    for (int key : {1, 2, 3}) {
        tree.insert(key, nullptr);
    }
    Node* root = tree.root();
    for (int key : {2, 1, 3}) {
        EXPECT_TRUE(tree.erase(key));
        EXPECT_EQ(tree.root(), root);
    }
    EXPECT_EQ(root->m_count, 1);
    EXPECT_EQ(shapeOf(tree), "size=0 ()");
    tree.insert(9, nullptr);
    EXPECT_EQ(tree.root(), root);
    EXPECT_EQ(shapeOf(tree), "size=1 (9)");
}

TEST(BTreeDelete, LeafBorrowsThroughTheSeparatorFromTheRight) {
    TreeBuilder tree(3);
    tree.plant(tree.inner(tree.leaf({1}), {{2, tree.leaf({3, 4})}}));
    expectErase(tree, 1, "size=3 ((2) 3 (4))");
}

TEST(BTreeDelete, LeafBorrowsFromTheLeftWhenTheRightCannotLend) {
    TreeBuilder tree(3);
    tree.plant(tree.inner(tree.leaf({1, 2}), {{3, tree.leaf({4})}}));
    expectErase(tree, 4, "size=3 ((1) 2 (3))");
}

TEST(BTreeDelete, BorrowingPrefersTheRightSibling) {
    TreeBuilder tree(3);
    tree.plant(tree.inner(tree.leaf({1, 2}), {{3, tree.leaf({4})}, {5, tree.leaf({6, 7})}}));
    expectErase(tree, 4, "size=6 ((1 2) 3 (5) 6 (7))");
}

TEST(BTreeDelete, MergingPrefersTheRightSibling) {
    TreeBuilder tree(3);
    tree.plant(tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}, {4, tree.leaf({5})}}));
    expectErase(tree, 3, "size=4 ((1) 2 (4 5))");
}

TEST(BTreeDelete, LastChildMergesIntoItsLeftSibling) {
    TreeBuilder tree(3);
    tree.plant(tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}, {4, tree.leaf({5})}}));
    expectErase(tree, 5, "size=4 ((1) 2 (3 4))");
}

TEST(BTreeDelete, MergeUnderTheRootCollapsesIt) {
    TreeBuilder tree(3);
    tree.plant(tree.inner(tree.leaf({10}), {{20, tree.leaf({30})}}));
    expectErase(tree, 20, "size=2 (10 30)");
    EXPECT_TRUE(tree.root()->is_leaf());
    EXPECT_EQ(tree.root()->m_parent, nullptr);
}

TEST(BTreeDelete, MergeLeftUnderTheRootMakesTheLeftSiblingTheRoot) {
    TreeBuilder tree(3);
    Node* left = tree.leaf({1});
    tree.plant(tree.inner(left, {{2, tree.leaf({3})}}));
    expectErase(tree, 3, "size=2 (1 2)");
    EXPECT_EQ(tree.root(), left);
}

TEST(BTreeDelete, InnerKeyIsReplacedByItsSuccessorWithItsPayload) {
    IntegerData records[4] = {IntegerData(1), IntegerData(2), IntegerData(3), IntegerData(4)};
    BTree tree(3);
    for (IntegerData& record : records) {
        tree.insert(record.value, &record);
    }
    ASSERT_EQ(shapeOf(tree), "size=4 ((1) 2 (3 4))");
    Node* root = tree.root();
    Node* rightChild = root->subtree(1);
    EXPECT_TRUE(tree.erase(2));
    EXPECT_EQ(shapeOf(tree), "size=3 ((1) 3 (4))");
    ASSERT_EQ(tree.root(), root);
    EXPECT_EQ(root->key(1), 3);
    EXPECT_EQ(root->payload(1), &records[2]);
    EXPECT_EQ(root->subtree(1), rightChild);
    EXPECT_EQ(tree.find(2), nullptr);
    EXPECT_EQ(tree.find(3), &records[2]);
}

TEST(BTreeDelete, MergesClimbAndLowerTheTree) {
    auto tree = treeWithKeys(3, {1, 2, 3, 4, 5, 6, 7});
    EXPECT_TRUE(tree->erase(1));
    EXPECT_EQ(shapeOf(*tree), "size=6 ((2 3) 4 (5) 6 (7))");
    EXPECT_EQ(tree->check_invariants(), "");
}

TEST(BTreeDelete, InnerNodesRotateFromTheRightAndMoveTheirChild) {
    TreeBuilder tree(3);
    Node* movedChild = tree.leaf({5});
    Node* rightInner = tree.inner(movedChild, {{6, tree.leaf({7})}, {8, tree.leaf({9})}});
    Node* secondChild = rightInner->subtree(1);
    Node* leftInner = tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}});
    tree.plant(tree.inner(leftInner, {{4, rightInner}}));
    expectErase(tree, 1, "size=8 (((2 3) 4 (5)) 6 ((7) 8 (9)))");
    EXPECT_EQ(movedChild->m_parent, leftInner);
    EXPECT_EQ(rightInner->key(0), -1);
    EXPECT_EQ(rightInner->payload(0), nullptr);
    EXPECT_EQ(rightInner->subtree(0), secondChild);
}

TEST(BTreeDelete, InnerNodesRotateFromTheLeftAndMoveTheirChild) {
    TreeBuilder tree(3);
    Node* movedChild = tree.leaf({5});
    Node* leftInner = tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}, {4, movedChild}});
    Node* rightInner = tree.inner(tree.leaf({7}), {{8, tree.leaf({9})}});
    tree.plant(tree.inner(leftInner, {{6, rightInner}}));
    expectErase(tree, 9, "size=8 (((1) 2 (3)) 4 ((5) 6 (7 8)))");
    EXPECT_EQ(movedChild->m_parent, rightInner);
}

TEST(BTreeDelete, ErasingEverythingLeavesOneKeylessRootLeaf) {
    for (int order : {3, 4, 5, 6, 7, 8, 16, 64}) {
        std::mt19937 random(order);
        std::vector<int> keys(1500);
        std::iota(keys.begin(), keys.end(), -700);
        std::shuffle(keys.begin(), keys.end(), random);
        BTree tree(order);
        for (int key : keys) {
            tree.insert(key, nullptr);
        }
        std::shuffle(keys.begin(), keys.end(), random);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            ASSERT_TRUE(tree.erase(keys[i])) << "order " << order << " key " << keys[i];
            ASSERT_EQ(tree.check_invariants(), "") << "order " << order << " step " << i;
        }
        EXPECT_TRUE(tree.root()->is_leaf());
        EXPECT_EQ(tree.root()->m_count, 1);
        EXPECT_EQ(shapeOf(tree), "size=0 ()");
    }
}

TEST(BTreeDelete, LookupOfANodeMissingFromItsParentIsDiagnosed) {
    TreeBuilder tree(3);
    Node* stray = tree.leaf({5});
    Node* parent = tree.plant(tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}}));
    stray->m_parent = parent;
    EXPECT_EQ(diagnosticOf(stray), "node count 1 smallest key=5 parent count = 1\n\n2# \n");
    Node::release(stray);
}

TEST(BTreeDelete, DiagnosticMarksWhereTheParentReallyHoldsTheNode) {
    TreeBuilder tree(7);
    Node* misplaced = tree.leaf({5});
    tree.plant(
        tree.inner(misplaced, {{2, tree.leaf({3})}, {4, tree.leaf({5})}, {6, tree.leaf({7})}}));
    EXPECT_EQ(diagnosticOf(misplaced),
              "node count 1 smallest key=5 parent count = 3\n"
              " but found at index 0\n"
              "2# \n"
              "4# \n"
              "6# \n");
}

TEST(BTreeDelete, SiblingLookupAtTheEdges) {
    TreeBuilder tree(3);
    Node* first = tree.leaf({1});
    Node* middle = tree.leaf({3});
    Node* last = tree.leaf({5});
    Node* root = tree.plant(tree.inner(first, {{2, middle}, {4, last}}));
    int index = -7;
    EXPECT_EQ(root->right_sibling(index), null_ptr);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(first->left_sibling(index), null_ptr);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(first->right_sibling(index), middle);
    EXPECT_EQ(middle->left_sibling(index), first);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(last->right_sibling(index), null_ptr);
    EXPECT_EQ(index, 2);
}
