#include "vector_map.h"

#include <gtest/gtest.h>

#include "stdout_capture.h"

namespace {

const VEntry kTenTwentyThirty[] = {{10, nullptr}, {20, nullptr}, {30, nullptr}};

}  // namespace

TEST(BinarySearch, ReturnsIndexOfPresentKey) {
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, 2, 10), 0);
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, 2, 20), 1);
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, 2, 30), 2);
}

TEST(BinarySearch, EncodesInsertionPointOfAbsentKey) {
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, 2, 5), -1);
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, 2, 25), -3);
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, 2, 35), -4);
}

TEST(BinarySearch, EmptyRangeGivesInsertionPointZero) {
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, -1, 20), -1);
}

TEST(BinarySearch, SearchesOnlyTheGivenRange) {
    EXPECT_EQ(binary_search(kTenTwentyThirty, 1, 2, 10), -2);
    EXPECT_EQ(binary_search(kTenTwentyThirty, 0, 0, 30), -2);
}

TEST(VectorMapDump, ListsKeysInOrderEachFollowedByAComma) {
    VectorMap map;
    map.insert(42, nullptr);
    map.insert(5, nullptr);
    map.insert(17, nullptr);
    EXPECT_EQ(captureStdout([&] { map.print(); }), "size=3 entries= 5,17,42,\n");
}

TEST(VectorMapDump, EmptyMapKeepsTheTrailingSpace) {
    VectorMap map;
    EXPECT_EQ(writtenBy([&](std::ostream& out) { map.print(out); }), "size=0 entries= \n");
}

TEST(VectorMapDump, NegativeKeysSortFirst) {
    VectorMap map;
    for (int key : {3, -2, 0, -40}) {
        map.insert(key, nullptr);
    }
    EXPECT_EQ(writtenBy([&](std::ostream& out) { map.print(out); }),
              "size=4 entries= -40,-2,0,3,\n");
}
