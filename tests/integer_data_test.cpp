#include <gtest/gtest.h>

#include <climits>

#include "map_interface.h"

TEST(IntegerData, DefaultsToZero) {
    IntegerData record;
    EXPECT_EQ(record.value, 0);
    EXPECT_EQ(record.toString(), "0");
}

TEST(IntegerData, CompareToOrdersByValue) {
    IntegerData minusFive(-5);
    IntegerData three(3);
    IntegerData otherThree(3);
    EXPECT_EQ(minusFive.compareTo(&three), -1);
    EXPECT_EQ(three.compareTo(&minusFive), 1);
    EXPECT_EQ(three.compareTo(&otherThree), 0);
}

TEST(IntegerData, ToStringWritesPlainDecimal) {
    EXPECT_EQ(IntegerData(INT_MIN).toString(), "-2147483648");
    EXPECT_EQ(IntegerData(INT_MAX).toString(), "2147483647");
    EXPECT_EQ(IntegerData(-7).toString(), "-7");
}

TEST(IntegerData, AssignmentCopiesValue) {
    IntegerData record;
    record = IntegerData(42);
    EXPECT_EQ(record.value, 42);
    record = 17;
    EXPECT_EQ(record.value, 17);
}
