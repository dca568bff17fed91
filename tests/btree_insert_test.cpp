// B-tree nodes, search, and insertion with splitting.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>

#include "BTree_invariants.h"
#include "btree_builder.h"

namespace {

Node::Elem element(int key, void* payload = nullptr, Node* subtree = null_ptr) {
    return Node::Elem(key, payload, subtree);
}

std::vector<int> keysOf(const Node& node) {
    std::vector<int> keys;
    for (int i = 1; i < node.m_count; ++i) {
        keys.push_back(node.key(i));
    }
    return keys;
}

}  // namespace

TEST(BTreeNode, NewNodeIsAnEmptyLeafAndItsOwnRoot) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 4);
    Node& node = *nodeOwner;
    EXPECT_EQ(node.m_count, 1);
    EXPECT_EQ(node.key(0), -1);
    EXPECT_EQ(node.subtree(0), null_ptr);
    EXPECT_TRUE(node.is_leaf());
    EXPECT_EQ(node.find_root(), &node);
    EXPECT_EQ(node.capacity(), 4);
}

TEST(BTreeNode, RequestBelowOneGetsSixSlots) {
    RootTracker tracker;
    auto noneOwner = looseNode(tracker, 0);
    Node& none = *noneOwner;
    auto negativeOwner = looseNode(tracker, -3);
    Node& negative = *negativeOwner;
    EXPECT_EQ(none.capacity(), 6);
    EXPECT_EQ(none.m_max_count, 0);
    EXPECT_EQ(negative.capacity(), 6);
    EXPECT_EQ(negative.m_max_count, -3);
}

TEST(BTreeNode, MinimumKeysIsHalfTheOrderRoundedUpLessOne) {
    RootTracker tracker;
    const int expected[] = {1, 1, 2, 2, 3, 3};
    for (int order = 3; order <= 8; ++order) {
        EXPECT_EQ(looseNode(tracker, order + 1)->minimum_keys(), expected[order - 3]) << order;
    }
    EXPECT_EQ(looseNode(tracker, 257)->minimum_keys(), 127);
}

TEST(BTreeNode, VectorInsertRefusesAFullNodeButTheSplitVariantTakesOneMore) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 4);
    Node& node = *nodeOwner;
    EXPECT_TRUE(node.vector_insert(element(20)));
    EXPECT_TRUE(node.vector_insert(element(10)));
    EXPECT_FALSE(node.vector_insert(element(30)));
    EXPECT_EQ(keysOf(node), (std::vector<int>{10, 20}));
    EXPECT_TRUE(node.vector_insert_for_split(element(15)));
    EXPECT_FALSE(node.vector_insert_for_split(element(40)));
    EXPECT_EQ(keysOf(node), (std::vector<int>{10, 15, 20}));
}

TEST(BTreeNode, VectorInsertPlacesAnEqualKeyAfterTheExistingOne) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 6);
    Node& node = *nodeOwner;
    int first = 0;
    int second = 0;
    node.vector_insert(element(5, &first));
    node.vector_insert(element(5, &second));
    EXPECT_EQ(node.payload(1), &first);
    EXPECT_EQ(node.payload(2), &second);
}

TEST(BTreeNode, VectorInsertAdoptsTheElementsSubtree) {
    RootTracker tracker;
    auto parentOwner = looseNode(tracker, 4, NodeKind::inner);
    Node& parent = *parentOwner;
    auto childOwner = looseNode(tracker, 4);
    Node& child = *childOwner;
    parent.vector_insert(element(7, nullptr, &child));
    EXPECT_EQ(child.m_parent, &parent);
}

TEST(BTreeNode, KeysBelowMinusOneNeverDisplaceTheZerothElement) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 8, NodeKind::inner);
    Node& node = *nodeOwner;
    auto leftmostOwner = looseNode(tracker, 8);
    Node& leftmost = *leftmostOwner;
    node.insert_zeroth_subtree(&leftmost);
    for (int key : {-5, 3, -100, INT_MIN, -2}) {
        ASSERT_TRUE(node.vector_insert(element(key)));
    }
    EXPECT_EQ(node.key(0), -1);
    EXPECT_EQ(node.subtree(0), &leftmost);
    EXPECT_EQ(keysOf(node), (std::vector<int>{INT_MIN, -100, -5, -2, 3}));
    EXPECT_TRUE(node.vector_insert_for_split(element(-3)));
    EXPECT_EQ(node.subtree(0), &leftmost);
    EXPECT_EQ(keysOf(node), (std::vector<int>{INT_MIN, -100, -5, -3, -2, 3}));
}

// rank is the bisection behind search, insertion and removal: the number of
// keys not above the one given, for every fill and every probe.
TEST(BTreeNode, RankCountsTheKeysNotAboveTheProbe) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 40);
    Node& node = *nodeOwner;
    EXPECT_EQ(node.rank(7), 0);
    std::vector<int> keys;
    for (int i = 1; i <= 38; ++i) {
        const int key = 3 * i - 60;
        ASSERT_TRUE(node.vector_insert(element(key)));
        keys.push_back(key);
        for (int probe = -65; probe <= 3 * i - 55; ++probe) {
            const auto notAbove = std::upper_bound(keys.begin(), keys.end(), probe) - keys.begin();
            ASSERT_EQ(node.rank(probe), notAbove) << "keys " << i << " probe " << probe;
        }
    }
    EXPECT_EQ(node.rank(INT_MIN), 0);
    EXPECT_EQ(node.rank(INT_MAX), 38);
}

TEST(BTreeNode, VectorDeleteByKeyClosesTheGapOrRefuses) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 6);
    Node& node = *nodeOwner;
    for (int key : {10, 20, 30, 40}) {
        node.vector_insert(element(key));
    }
    EXPECT_FALSE(node.vector_delete(element(25)));
    EXPECT_EQ(node.m_count, 5);
    EXPECT_TRUE(node.vector_delete(element(20)));
    EXPECT_EQ(keysOf(node), (std::vector<int>{10, 30, 40}));
    EXPECT_TRUE(node.vector_delete(element(40)));
    EXPECT_TRUE(node.vector_delete(element(10)));
    EXPECT_EQ(keysOf(node), (std::vector<int>{30}));
}

TEST(BTreeNode, VectorDeleteByKeyIgnoresStaleSlotsOfAKeylessNode) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 4);
    Node& node = *nodeOwner;
    node.vector_insert(element(8));
    node.vector_delete(element(8));
    EXPECT_FALSE(node.vector_delete(element(8)));
    EXPECT_EQ(node.m_count, 1);
}

TEST(BTreeNode, VectorDeleteByIndexChecksTheRange) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 6);
    Node& node = *nodeOwner;
    node.vector_insert(element(10));
    node.vector_insert(element(20));
    EXPECT_FALSE(node.vector_delete(-1));
    EXPECT_FALSE(node.vector_delete(node.m_count));
    EXPECT_TRUE(node.vector_delete(0));
    EXPECT_EQ(node.m_count, 2);
    EXPECT_EQ(node.key(0), 10);
    EXPECT_EQ(node.key(1), 20);
}

TEST(BTreeNode, SmallestKeyInSubtreeIsElementOneOfTheLeftmostLeaf) {
    TreeBuilder tree(3);
    Node* leftmost = tree.leaf({1});
    tree.plant(tree.inner(tree.inner(leftmost, {{2, tree.leaf({3})}}),
                          {{4, tree.inner(tree.leaf({5}), {{6, tree.leaf({7})}})}}));
    EXPECT_EQ(tree.root()->smallest_key_in_subtree(), Node::Position(leftmost, 1));
    EXPECT_EQ(leftmost->smallest_key_in_subtree(), Node::Position(leftmost, 1));
    EXPECT_EQ(tree.root()->smallest_key_in_subtree().key(), 1);
}

TEST(RootTracker, SetRootWithAWrongOldRootThrowsAndKeepsTheRoot) {
    TreeBuilder tree(3);
    Node* root = tree.plant(tree.leaf({1}));
    auto otherOwner = looseNode(tree.tracker, 4);
    Node& other = *otherOwner;
    try {
        tree.tracker.set_root(&other, &other);
        FAIL() << "no exception";
    } catch (const char* message) {
        EXPECT_STREQ(message, "wrong old_root in RootTracker::set_root");
    }
    EXPECT_EQ(tree.root(), root);
}

TEST(BTreeSearch, EmptyTreeMissesAndLeavesWhereUntouched) {
    RootTracker tracker;
    auto rootOwner = looseNode(tracker, 4);
    Node& root = *rootOwner;
    Node* where = reinterpret_cast<Node*>(&tracker);
    EXPECT_TRUE(root.search(element(5), where).is_failure());
    EXPECT_EQ(where, reinterpret_cast<Node*>(&tracker));
}

TEST(BTreeSearch, MissesStopAtTheLeafTheKeyBelongsIn) {
    TreeBuilder tree(3);
    Node* leafOne = tree.leaf({1});
    Node* leafFive = tree.leaf({5});
    Node* leafSeven = tree.leaf({7, 9});
    tree.plant(tree.inner(tree.inner(leafOne, {{2, tree.leaf({3})}}),
                          {{4, tree.inner(leafFive, {{6, leafSeven}})}}));
    Node* where = nullptr;
    EXPECT_TRUE(tree.root()->search(element(-50), where).is_failure());
    EXPECT_EQ(where, leafOne);
    EXPECT_TRUE(tree.root()->search(element(8), where).is_failure());
    EXPECT_EQ(where, leafSeven);
    const Node::Position miss = tree.root()->search(element(100), where);
    EXPECT_EQ(where, leafSeven);
    EXPECT_EQ(miss.key(), -1);
    EXPECT_EQ(miss.payload(), nullptr);
    EXPECT_EQ(miss.subtree(), invalid_ptr);
    EXPECT_EQ(Node::m_failure.m_key, -1);
    EXPECT_EQ(Node::m_failure.m_subtree, invalid_ptr);
}

TEST(BTreeSearch, FindsKeysInInnerNodesWithoutDescending) {
    TreeBuilder tree(3);
    Node* inner = tree.inner(tree.leaf({5}), {{6, tree.leaf({7})}});
    tree.plant(tree.inner(tree.inner(tree.leaf({1}), {{2, tree.leaf({3})}}), {{4, inner}}));
    Node* where = nullptr;
    EXPECT_EQ(tree.root()->search(element(4), where), Node::Position(tree.root(), 1));
    EXPECT_EQ(where, tree.root());
    EXPECT_EQ(tree.root()->search(element(6), where), Node::Position(inner, 1));
    EXPECT_EQ(where, inner);
    const Node* constWhere = nullptr;
    const Node& constRoot = *tree.root();
    EXPECT_EQ(constRoot.search(element(6), constWhere).key(), 6);
    EXPECT_EQ(constWhere, inner);
}

TEST(BTreeSplit, ShapesForOrdersThreeFourAndFive) {
    BTree three(3);
    for (int key = 1; key <= 3; ++key) {
        three.insert(key, nullptr);
    }
    EXPECT_EQ(shapeOf(three), "size=3 ((1) 2 (3))");
    for (int key = 4; key <= 7; ++key) {
        three.insert(key, nullptr);
    }
    EXPECT_EQ(shapeOf(three), "size=7 (((1) 2 (3)) 4 ((5) 6 (7)))");

    BTree four(4);
    for (int key = 1; key <= 5; ++key) {
        four.insert(key, nullptr);
    }
    EXPECT_EQ(shapeOf(four), "size=5 ((1 2) 3 (4 5))");

    BTree five(5);
    for (int key = 1; key <= 6; ++key) {
        five.insert(key, nullptr);
    }
    EXPECT_EQ(shapeOf(five), "size=6 ((1 2) 3 (4 5 6))");
}

TEST(BTreeSplit, EverySplitLeavesParentLinksSound) {
    for (int order : {3, 4, 5, 6}) {
        BTree tree(order);
        for (int key = 0; key < 300; ++key) {
            tree.insert((key * 7919) % 300, nullptr);
            ASSERT_EQ(tree.check_invariants(), "") << "order " << order << " key " << key;
        }
    }
}

TEST(BTreeSplit, RefusesANodeThatIsNotExactlyFull) {
    RootTracker tracker;
    auto nodeOwner = looseNode(tracker, 5);
    Node& node = *nodeOwner;
    node.vector_insert(element(1));
    try {
        node.split_insert(element(2));
        FAIL() << "no exception";
    } catch (const char* message) {
        EXPECT_STREQ(message, "bad m_count in split_insert");
    }
    EXPECT_EQ(keysOf(node), (std::vector<int>{1}));
}

TEST(BTreeInsert, DuplicateKeyKeepsTheStoredPayload) {
    RootTracker tracker;
    Node* root = Node::create(tracker, 4, NodeKind::leaf);
    tracker.set_root(null_ptr, root);
    int first = 0;
    int second = 0;
    EXPECT_TRUE(root->tree_insert(element(3, &first)));
    EXPECT_FALSE(tracker.m_root->tree_insert(element(3, &second)));
    Node* where = nullptr;
    EXPECT_EQ(tracker.m_root->search(element(3), where).payload(), &first);
}

TEST(BTreeInsert, LongRandomSequencesKeepTheInvariantsForManyOrders) {
    std::vector<int> orders(14);
    std::iota(orders.begin(), orders.end(), 3);
    orders.push_back(301);
    for (int order : orders) {
        std::mt19937 random(order);
        std::vector<int> keys(5000);
        std::iota(keys.begin(), keys.end(), -2500);
        std::shuffle(keys.begin(), keys.end(), random);
        std::vector<IntegerData> records(keys.begin(), keys.end());
        BTree tree(order);
        for (std::size_t i = 0; i < records.size(); ++i) {
            ASSERT_TRUE(tree.insert(records[i].value, &records[i]));
            if (i % 97 == 0) {
                ASSERT_EQ(tree.check_invariants(), "") << "order " << order;
            }
        }
        ASSERT_EQ(tree.check_invariants(), "") << "order " << order;
        ASSERT_EQ(tree.size(), 5000);
        for (IntegerData& record : records) {
            ASSERT_EQ(tree.find(record.value), &record) << record.value;
        }
    }
}

TEST(BTreeInsert, TallTreesAreReleasedWhole) {
    BTree tree(3);
    for (int key = 0; key < 20000; ++key) {
        tree.insert(key, nullptr);
    }
    EXPECT_EQ(tree.check_invariants(), "");
    // The leak check of the sanitizer build verifies the release.
}
