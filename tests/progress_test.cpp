// The benchmarks' progress lines: how many runs the suite has, given the
// library's filter and repetition flags, and when a run starts.
#include "progress.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

Progress progressFor(std::vector<std::string> arguments, std::ostream& out = std::cerr) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    Progress progress(static_cast<int>(argv.size()), argv.data(), out);
    for (const char* name : {"find/BTree_3/1000", "find/std_map/1000", "mix/BTree_3/1000"}) {
        progress.add(name);
    }
    progress.begin();
    return progress;
}

}  // namespace

TEST(Progress, CountsTheSelectedBenchmarksOncePerRepetition) {
    EXPECT_EQ(progressFor({"bench"}).total(), 3);
    EXPECT_EQ(progressFor({"bench", "--benchmark_repetitions=5"}).total(), 15);
    EXPECT_EQ(progressFor({"bench", "--benchmark_filter=^find/"}).total(), 2);
    EXPECT_EQ(
        progressFor({"bench", "--benchmark_filter=-BTree", "--benchmark_repetitions=2"}).total(),
        2);
}

TEST(Progress, ARunStartsWhenTheBenchmarkChanges) {
    std::ostringstream lines;
    Progress progress = progressFor({"bench"}, lines);
    progress.starting("find/BTree_3/1000");
    progress.starting("find/BTree_3/1000");
    progress.starting("mix/BTree_3/1000");
    EXPECT_EQ(lines.str(), "[1/3] find/BTree_3/1000\n[2/3] mix/BTree_3/1000\n");
}
