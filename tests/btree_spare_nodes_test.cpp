// The B-tree's memory: nodes a tree frees kept for its next splits and handed
// back as clean as new ones, the node count the tracker keeps, and the lines a
// descent fetches ahead, none for a tree that stays in the caches.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "BTree_invariants.h"
#include "btree_builder.h"

namespace {

int g_payloads[8];

}  // namespace

TEST(SpareNodes, AReusedNodeCarriesNothingOfItsPast) {
    RootTracker tracker;
    Node* used = Node::create(tracker, 9, NodeKind::inner);
    std::vector<Node*> children;
    for (int key = 1; key <= 7; ++key) {
        children.push_back(Node::create(tracker, 9, NodeKind::leaf));
        used->vector_insert(Node::Elem(key * 10, &g_payloads[key], children.back()));
    }
    used->m_parent = used;  // any non-null link
    const int capacity = used->capacity();
    void* block = used;
    Node::recycle(used);
    EXPECT_EQ(tracker.m_spares.kept(), 1);

    Node* reused = Node::create(tracker, 9, NodeKind::inner);
    EXPECT_EQ(static_cast<void*>(reused), block);
    EXPECT_EQ(tracker.m_spares.kept(), 0);
    EXPECT_EQ(reused->m_count, 1);
    EXPECT_EQ(reused->m_parent, nullptr);
    EXPECT_EQ(reused->key(0), -1);
    for (int i = 0; i < capacity; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(reused->key(i), i == 0 ? -1 : 0);
        EXPECT_EQ(reused->payload(i), nullptr);
        EXPECT_EQ(reused->subtree(i), null_ptr);
    }
    Node::release(reused);
    for (Node* child : children) {
        Node::release(child);
    }
    EXPECT_EQ(tracker.m_nodes, 0u);
}

TEST(SpareNodes, ANodeOfAnotherSizeOrKindIsNewAndTheStoreIsBounded) {
    RootTracker tracker;
    Node* wide = Node::create(tracker, 9, NodeKind::leaf);
    void* block = wide;
    Node::recycle(wide);
    Node* narrow = Node::create(tracker, 5, NodeKind::leaf);
    Node* inner = Node::create(tracker, 9, NodeKind::inner);
    EXPECT_NE(static_cast<void*>(narrow), block);
    EXPECT_NE(static_cast<void*>(inner), block);
    EXPECT_EQ(tracker.m_spares.kept(), 1);
    Node::release(narrow);
    Node::release(inner);

    std::vector<Node*> many;
    for (int i = 0; i < SpareNodes::kMostKept + 3; ++i) {
        many.push_back(Node::create(tracker, 9, NodeKind::leaf));
    }
    for (Node* node : many) {
        Node::recycle(node);
    }
    EXPECT_EQ(tracker.m_spares.kept(), SpareNodes::kMostKept);
    EXPECT_EQ(tracker.m_nodes, 0u);
}

// Random insertions and erasures split and merge nodes over and over; the
// merges' nodes serve the next splits, and the tree stays sound beside
// std::map with the count of its nodes right after every step.
TEST(SpareNodes, MergedNodesServeTheNextSplitsOfASoundTree) {
    for (int order : {3, 4, 9, 64}) {
        SCOPED_TRACE(order);
        BTree tree(order);
        std::map<int, Data*> reference;
        std::mt19937 generator(static_cast<unsigned>(order));
        std::uniform_int_distribution<int> keys(0, 400);
        bool reused = false;
        for (int step = 0; step < 6000; ++step) {
            const int key = keys(generator);
            const int keptBefore = tree.root_tracker().m_spares.kept();
            if (generator() % 2 == 0) {
                ASSERT_EQ(tree.insert(key, nullptr), reference.emplace(key, nullptr).second);
                reused = reused || tree.root_tracker().m_spares.kept() < keptBefore;
            } else {
                ASSERT_EQ(tree.erase(key), reference.erase(key) == 1);
            }
            ASSERT_EQ(tree.check_invariants(), "");
            ASSERT_LE(tree.root_tracker().m_spares.kept(), SpareNodes::kMostKept);
        }
        EXPECT_TRUE(reused);
        EXPECT_EQ(tree.size(), static_cast<int>(reference.size()));
    }
}

// Trees of 300000 keys of order 128 take about 5 MB of the bytes a visit
// reads; one of 1000, 18 KB.
TEST(FetchedLines, NoneForATreeThatStaysInTheCachesEveryLineAVisitReadsForALargeOne) {
    btree_prefetch::assume_l2_bytes(std::size_t{1} << 20);
    BTree tree(128);
    for (int key = 0; key < 1000; ++key) {
        tree.insert(key, nullptr);
    }
    EXPECT_EQ(tree.root()->fetched_lines(), 0);
    // A visit of a node of order 128 reads 1584 bytes: header, keys, and
    // payloads (a leaf) or subtrees (an inner node): 25 cache lines, and one
    // more for a node that does not start on a line.
    std::mt19937 generator(7);
    for (int key = 0; key < 300000; ++key) {
        tree.insert(static_cast<int>(generator() >> 1), nullptr);
    }
    EXPECT_EQ(tree.root()->fetched_lines(), 26);
    EXPECT_EQ(tree.check_invariants(), "");
    BTree wide(1000);  // its nodes read more than 32 lines: 32 are fetched
    for (int key = 0; key < 300000; ++key) {
        wide.insert(key, nullptr);
    }
    EXPECT_EQ(wide.root()->fetched_lines(), 32);
    btree_prefetch::assume_l2_bytes(0);
}

TEST(FetchedLines, FollowTheL2SizeTheTreeTakes) {
    std::mt19937 generator(7);
    std::vector<int> keys(300000);
    for (int& key : keys) {
        key = static_cast<int>(generator() >> 1);
    }
    for (const std::size_t l2 : {std::size_t{1} << 20, std::size_t{4} << 20}) {
        btree_prefetch::assume_l2_bytes(l2);
        BTree tree(128);
        for (const int key : keys) {
            tree.insert(key, nullptr);
        }
        // Fetched ahead from two L2s of nodes on.
        EXPECT_EQ(tree.root()->fetched_lines(), l2 == std::size_t{1} << 20 ? 26 : 0) << l2;
        EXPECT_EQ(tree.check_invariants(), "");
    }
    btree_prefetch::assume_l2_bytes(0);
}
