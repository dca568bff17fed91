// The B-tree map: its printout, its order, and its diagnostic dump.
#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <sstream>

#include "btree_builder.h"

TEST(BTreeMap, NewMapOfAnyOrderIsEmpty) {
    for (int order : {3, 4, 10, 255}) {
        BTree tree(order);
        EXPECT_EQ(tree.size(), 0);
        EXPECT_EQ(captureStdout([&] { tree.print(); }), "size=0 ()\n");
    }
}

TEST(BTreeMap, PrintsOneParenthesisedGroupPerNode) {
    BTree three(3);
    for (int key = 1; key <= 10; ++key) {
        three.insert(key, nullptr);
    }
    EXPECT_EQ(writtenBy([&](std::ostream& out) { three.print(out); }),
              "size=10 (((1) 2 (3)) 4 ((5) 6 (7) 8 (9 10)))\n");

    BTree four(4);
    for (int key = 10; key <= 70; key += 10) {
        four.insert(key, nullptr);
    }
    EXPECT_EQ(writtenBy([&](std::ostream& out) { four.print(out); }),
              "size=7 ((10 20) 30 (40 50) 60 (70))\n");
}

TEST(BTreeMap, PrintWritesNegativeKeysInDecimal) {
    BTree tree(3);
    for (int key : {-3, -20, 7}) {
        tree.insert(key, nullptr);
    }
    EXPECT_EQ(writtenBy([&](std::ostream& out) { tree.print(out); }), "size=3 ((-20) -3 (7))\n");
}

TEST(BTreeMap, OrderBelowThreeBuildsOrderThreeNodes) {
    for (int order : {2, 1, 0, -5, INT_MIN}) {
        BTree tree(order);
        EXPECT_EQ(tree.root()->capacity(), 4) << order;
        for (int key = 1; key <= 7; ++key) {
            tree.insert(key, nullptr);
        }
        EXPECT_EQ(shapeOf(tree), "size=7 (((1) 2 (3)) 4 ((5) 6 (7)))") << order;
        EXPECT_EQ(tree.check_invariants(), "");
    }
}

TEST(BTreeMap, OrderTooLargeForMemoryFailsWithBadAlloc) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator reports huge requests itself";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's allocator reports huge requests itself";
#endif
#endif
    EXPECT_THROW(BTree tree(INT_MAX), std::bad_alloc);
}

TEST(BTreeMap, MinusOneIsAnOrdinaryKey) {
    IntegerData record(-1);
    BTree tree(3);
    EXPECT_TRUE(tree.insert(-1, &record));
    EXPECT_EQ(tree.find(-1), &record);
    EXPECT_TRUE(tree.member(-1));
    EXPECT_TRUE(tree.erase(-1));
    EXPECT_EQ(tree.find(-1), nullptr);
}

TEST(BTreeMap, NodeDumpListsEveryNodeInPreorder) {
    BTree tree(3);
    for (int key = 1; key <= 3; ++key) {
        tree.insert(key, nullptr);
    }
    const Node* root = tree.root();
    const Node* left = root->subtree(0);
    const Node* right = root->subtree(1);
    auto address = [](const void* pointer) {
        std::ostringstream text;
        text << pointer;
        return text.str();
    };
    const std::string null = address(nullptr);
    auto leafDump = [&](const Node* leaf, int key) {
        return "\nthis=" + address(leaf) + "\nparent=" + address(root) + " count=2\n" +
               "key=-1sub=" + null + " key=" + std::to_string(key) + "sub=" + null + " \n";
    };
    const std::string expected = "ROOT\n\nthis=" + address(root) + "\nparent=" + null +
                                 " count=2\n" + "key=-1sub=" + address(left) +
                                 " key=2sub=" + address(right) + " " + leafDump(left, 1) +
                                 leafDump(right, 3) + "\n";
    EXPECT_EQ(writtenBy([&](std::ostream& out) { root->dump(out); }), expected);
}
