// The benchmarks' progress lines: how many runs the suite has, given the
// library's filter and repetitions, and when a run starts.
#include "progress.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "heap_shift.h"

namespace {

Progress progressFor(const std::string& filter, int repetitions, std::ostream& out = std::cerr) {
    Progress progress(filter, repetitions, out);
    for (const char* name : {"find/BTree_3/1000", "find/std_map/1000", "mix/BTree_3/1000"}) {
        progress.add(name);
    }
    progress.begin();
    return progress;
}

}  // namespace

TEST(Progress, CountsTheSelectedBenchmarksOncePerRepetition) {
    EXPECT_EQ(progressFor("", 1).total(), 3);
    EXPECT_EQ(progressFor("", 5).total(), 15);
    EXPECT_EQ(progressFor("^find/", 1).total(), 2);
    EXPECT_EQ(progressFor("-BTree", 2).total(), 2);
}

TEST(Progress, ARunStartsWhenTheBenchmarkChanges) {
    std::ostringstream lines;
    Progress progress = progressFor("", 1, lines);
    EXPECT_TRUE(progress.starting("find/BTree_3/1000"));
    EXPECT_FALSE(progress.starting("find/BTree_3/1000"));
    EXPECT_TRUE(progress.starting("mix/BTree_3/1000"));
    EXPECT_EQ(lines.str(), "[1/3] find/BTree_3/1000\n[2/3] mix/BTree_3/1000\n");
}

TEST(HeapShift, HoldsABlockOfSixteenTo4096BytesOfAnotherSizeEachRun) {
    HeapShift shift;
    std::set<std::size_t> sizes;
    for (int run = 0; run < 50; ++run) {
        shift.next();
        EXPECT_EQ(shift.bytes() % 16, 0u);
        EXPECT_GE(shift.bytes(), 16u);
        EXPECT_LE(shift.bytes(), 4096u);
        sizes.insert(shift.bytes());
    }
    EXPECT_GT(sizes.size(), 10u);
}
