// The AVL tree map and its level-by-level drawing, byte for byte.
#include <gtest/gtest.h>

#include "AVLBinaryTree.h"
#include "stdout_capture.h"

namespace {

std::string drawingOf(std::initializer_list<int> keys) {
    AVLBinaryTree tree;
    for (int key : keys) {
        tree.insert(key, nullptr);
    }
    return writtenBy([&](std::ostream& out) { tree.print(out); });
}

std::string drawingOfRange(int first, int last) {
    AVLBinaryTree tree;
    for (int key = first; key <= last; ++key) {
        tree.insert(key, nullptr);
    }
    return writtenBy([&](std::ostream& out) { tree.print(out); });
}

}  // namespace

TEST(AVLDrawing, EmptyTreeDrawsNothing) {
    EXPECT_EQ(drawingOf({}), "");
}

TEST(AVLDrawing, OneDigitKey) {
    EXPECT_EQ(drawingOf({5}), "----depth=1----\n 5\n");
}

TEST(AVLDrawing, KeysTenToThirtyFiveAreLetters) {
    EXPECT_EQ(drawingOf({20, 10, 30}), "----depth=2----\n   K\n  A U\n");
    EXPECT_EQ(drawingOf({35, 10, 36}), "----depth=2----\n   Z\n  A 36\n");
}

TEST(AVLDrawing, MissingChildLeavesTrailingSpaces) {
    EXPECT_EQ(drawingOf({20, 10}), "----depth=2----\n  -K\n  A  \n");
    EXPECT_EQ(drawingOf({20, 10, 30, 5}),
              "----depth=3----\n"
              "      -K\n"
              "    -A   U\n"
              "    5      \n");
}

TEST(AVLDrawing, PlusMarksARightHeavyNode) {
    EXPECT_EQ(drawingOf({1, 2}), "----depth=2----\n  +1\n    2\n");
}

TEST(AVLDrawing, FullTreesOfDepthThreeAndFour) {
    EXPECT_EQ(drawingOfRange(1, 7),
              "----depth=3----\n"
              "       4\n"
              "     2   6\n"
              "    1 3 5 7\n");
    EXPECT_EQ(drawingOfRange(0, 14),
              "----depth=4----\n"
              "               7\n"
              "           3       B\n"
              "         1   5   9   D\n"
              "        0 2 4 6 8 A C E\n");
}

TEST(AVLDrawing, LongKeysWidenTheirLine) {
    EXPECT_EQ(drawingOf({100, 50, 150}), "----depth=2----\n   100\n  50 150\n");
    EXPECT_EQ(drawingOf({-5, -8, 0}), "----depth=2----\n   -5\n  -8 0\n");
}

TEST(AVLMap, NullPayloadCountsAsPresent) {
    AVLBinaryTree tree;
    EXPECT_TRUE(tree.insert(3, nullptr));
    EXPECT_TRUE(tree.member(3));
    EXPECT_EQ(tree.find(3), nullptr);
    EXPECT_EQ(tree.size(), 1);
    EXPECT_TRUE(tree.erase(3));
    EXPECT_EQ(tree.size(), 0);
}

TEST(AVLMap, ErasingTheRootOfThreeNodesByParity) {
    IntegerData records[3] = {IntegerData(10), IntegerData(20), IntegerData(30)};
    for (int rootKey : {20, 21}) {
        AVLBinaryTree tree;
        IntegerData root(rootKey);
        tree.insert(rootKey, &root);
        tree.insert(10, &records[0]);
        tree.insert(30, &records[2]);
        const AVLBinaryTreeNode* rootNode = tree.rootNode();
        EXPECT_TRUE(tree.erase(rootKey));
        EXPECT_EQ(tree.rootNode(), rootNode);
        EXPECT_EQ(rootNode->nodeData->key, rootKey % 2 == 0 ? 30 : 10);
        EXPECT_EQ(tree.size(), 2);
        EXPECT_FALSE(tree.erase(rootKey));
        EXPECT_EQ(tree.find(10), &records[0]);
        EXPECT_EQ(tree.find(30), &records[2]);
        EXPECT_EQ(tree.checkInvariants(), "");
    }
}

TEST(AVLMap, EmptiedTreeCanBeFilledAgain) {
    AVLBinaryTree tree;
    for (int key = 0; key < 50; ++key) {
        tree.insert(key, nullptr);
    }
    for (int key = 0; key < 50; ++key) {
        ASSERT_TRUE(tree.erase(key));
    }
    EXPECT_EQ(tree.rootNode(), nullptr);
    EXPECT_EQ(captureStdout([&] { tree.print(); }), "");
    tree.insert(5, nullptr);
    EXPECT_EQ(captureStdout([&] { tree.print(); }), "----depth=1----\n 5\n");
}
