// The structural steps the maps count in the measurement build, checked
// against what the operations must have done: the B-tree's node count
// against its splits and merges, the AVL tree's rotations on shapes whose
// rebalancing is known, the sorted array's shifted entries by position.
#include "step_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "btree_builder.h"
#include "vector_map.h"

namespace {

static_assert(kCountEvents, "this test is built with the maps that count their steps");

// The counts of the steps taken since the test began.
class MapEventsTest : public ::testing::Test {
protected:
    void SetUp() override { mapEvents() = MapEvents{}; }
    const MapEvents& events() const { return mapEvents(); }
};

struct Shape {
    int nodes = 0;
    int levels = 0;
};

// Nodes and levels of a B-tree from its printout, one bracket pair a node.
Shape shapeCounts(const BTree& tree) {
    Shape shape;
    int depth = 0;
    for (char c : shapeOf(tree)) {
        if (c == '(') {
            ++shape.nodes;
            shape.levels = std::max(shape.levels, ++depth);
        } else if (c == ')') {
            --depth;
        }
    }
    return shape;
}

}  // namespace

// A split adds a node and a merge removes one; a root split also adds a
// level with its new root and a collapse of the root removes one, so the
// nodes are always splits - merges + levels.
TEST_F(MapEventsTest, BTreeNodesAreSplitsLessMergesPlusLevels) {
    for (int order : {3, 4, 5, 8}) {
        SetUp();
        BTree tree(order);
        std::mt19937 generator(static_cast<unsigned>(order));
        for (int step = 0; step < 3000; ++step) {
            const int key = static_cast<int>(generator() % 400);
            if (generator() % 2 == 0) {
                tree.insert(key, nullptr);
            } else {
                tree.erase(key);
            }
            const Shape shape = shapeCounts(tree);
            ASSERT_EQ(shape.nodes,
                      static_cast<int>(events().splits - events().merges) + shape.levels)
                << "order " << order << " step " << step;
        }
        EXPECT_GT(events().borrows, 0u) << order;
        EXPECT_GT(events().merges, 0u) << order;
    }
}

TEST_F(MapEventsTest, BTreeSplitsOncePerFullLeafOnAscendingKeys) {
    BTree three(3);
    for (int key = 1; key <= 3; ++key) {
        three.insert(key, nullptr);
    }
    EXPECT_EQ(events().splits, 1u);  // ((1) 2 (3))
    EXPECT_EQ(events().rotations, 0u);
}

// Ascending keys 1 .. 2^k - 1 make a perfect AVL tree, rotating on every
// insertion but the k that raise its height.
TEST_F(MapEventsTest, AvlRotatesOnEveryAscendingInsertionThatDoesNotRaiseItsHeight) {
    for (int height = 2; height <= 6; ++height) {
        SetUp();
        AVLBinaryTree tree;
        const int keys = (1 << height) - 1;
        for (int key = 1; key <= keys; ++key) {
            tree.insert(key, nullptr);
        }
        EXPECT_EQ(events().rotations, static_cast<std::uint64_t>(keys - height)) << keys;
        EXPECT_EQ(events().slabs, 1u);
    }
}

TEST_F(MapEventsTest, AvlCountsADoubleRotationTwiceAndReplacesOnlyWithTwoChildren) {
    AVLBinaryTree tree;
    for (int key : {3, 1, 2}) {
        tree.insert(key, nullptr);
    }
    EXPECT_EQ(events().rotations, 2u);
    tree.erase(1);  // a leaf
    EXPECT_EQ(events().replacements, 0u);
    tree.insert(1, nullptr);
    tree.erase(2);  // the root, with two children
    EXPECT_EQ(events().replacements, 1u);
    EXPECT_EQ(tree.checkInvariants(), "");
}

TEST_F(MapEventsTest, VectorMapCountsTheEntriesBehindEachInsertionAndErasure) {
    VectorMap map;
    for (int key : {0, 2, 4, 6}) {
        map.insert(key, nullptr);
    }
    EXPECT_EQ(events().moved, 0u);
    map.insert(1, nullptr);  // before 2, 4, 6
    EXPECT_EQ(events().moved, 3u);
    map.erase(0);  // before 1, 2, 4, 6
    EXPECT_EQ(events().moved, 7u);
    map.insert(4, nullptr);  // present: nothing moves
    map.erase(5);            // absent
    EXPECT_EQ(events().moved, 7u);
}
