// The bench harness's shared pieces: the run plan (suite by contender by
// size, less the cut-offs, named "suite/contender/n"), the per-run cache,
// the workload steps every program runs, and the arithmetic of what else
// the machine did during a run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "contenders.h"
#include "machine_load.h"
#include "recording_map.h"
#include "run_cache.h"
#include "run_plan.h"
#include "workload_steps.h"

namespace {

Contender contender(const std::string& name, Contender::Role role, bool quadratic = false,
                    bool scans = true) {
    Contender c;
    c.name = name;
    c.role = role;
    c.quadraticFill = quadratic;
    if (scans) {
        c.scan = [](const Map&, int, int, ScanTally&) { return 0; };
    }
    return c;
}

std::vector<std::string> names(const std::vector<PlannedRun>& runs) {
    std::vector<std::string> all;
    for (const PlannedRun& run : runs) {
        all.push_back(run.name());
    }
    return all;
}

const std::vector<Contender> kContenders = {
    contender("Tree", Contender::Role::ours), contender("Array", Contender::Role::ours, true),
    contender("peer", Contender::Role::peer),
    contender("hash", Contender::Role::unordered, false, false)};
const std::vector<SuiteInfo> kSuites = {{"find", "operation", 100, "finds"},
                                        {"walk", "visited entry", 1000, "walks", true}};

}  // namespace

TEST(RunPlan, EverySuiteOnEveryContenderAtEverySizeInThatOrder) {
    EXPECT_EQ(runName("find", "BTree_64", 10000), "find/BTree_64/10000");
    EXPECT_EQ(
        names(planRuns(kSuites, kContenders, {10, 100})),
        (std::vector<std::string>{"find/Tree/10", "find/Tree/100", "find/Array/10",
                                  "find/Array/100", "find/peer/10", "find/peer/100", "find/hash/10",
                                  "find/hash/100", "walk/Tree/10", "walk/Tree/100", "walk/Array/10",
                                  "walk/Array/100", "walk/peer/10", "walk/peer/100"}));
}

TEST(RunPlan, SortedArraysStopAtTheCutOffAndScansNeedAScan) {
    const std::vector<std::string> runs = names(planRuns(kSuites, kContenders, {1000}));
    EXPECT_EQ(runs,
              (std::vector<std::string>{"find/Tree/1000", "find/peer/1000", "find/hash/1000",
                                        "walk/Tree/1000", "walk/Array/1000", "walk/peer/1000"}));
}

TEST(RunPlan, AChoiceNarrowsByMapSuiteAndOwnership) {
    EXPECT_EQ(names(planRuns(kSuites, kContenders, {10}, RunChoice{{"peer", "Tree"}, {"walk"}})),
              (std::vector<std::string>{"walk/Tree/10", "walk/peer/10"}));
    const std::vector<PlannedRun> ours =
        planRuns(kSuites, kContenders, {10}, RunChoice{{}, {}, true});
    EXPECT_EQ(names(ours), (std::vector<std::string>{"find/Tree/10", "find/Array/10",
                                                     "walk/Tree/10", "walk/Array/10"}));
    EXPECT_EQ(ours[2].suiteIndex, 1u);
}

TEST(RunCache, KeepsTheStateOfARunAndReplacesItForTheNext) {
    RunCache<std::vector<int>> cache;
    int made = 0;
    const auto make = [&made] {
        ++made;
        return std::vector<int>{made};
    };
    std::vector<int>& first = cache.resume("find/Tree/10", make);
    first.push_back(7);
    EXPECT_EQ(cache.resume("find/Tree/10", make), (std::vector<int>{1, 7}));
    EXPECT_EQ(cache.resume("mix/Tree/10", make), (std::vector<int>{2}));
    EXPECT_EQ(cache.resume("find/Tree/10", make), (std::vector<int>{3}));
    EXPECT_EQ(made, 3);
}

TEST(RunCache, EveryCacheLetsItsStateGoBeforeARunOnAFreshHeap) {
    int made = 0;
    const auto make = [&made] { return ++made; };
    RunCache<int> fills;
    {
        RunCache<int> gone;  // a cache destroyed is no longer released
        gone.resume("a", make);
    }
    fills.resume("fill/Tree/10", make);
    EXPECT_EQ(fills.resume("fill/Tree/10", make), 2);
    RunCaches::releaseAll();
    EXPECT_EQ(fills.resume("fill/Tree/10", make), 3);
}

TEST(WorkloadSteps, InsertInOrderHandsEachCallToItsRunner) {
    RecordingMap map;
    IntegerData payload(1);
    int handed = 0;
    insertInOrder(map, 3, KeyOrder::descending, &payload, [&handed](auto call) {
        ++handed;
        call();
    });
    EXPECT_EQ(handed, 3);
    EXPECT_EQ(map.log, (std::vector<std::string>{"insert 4", "insert 2", "insert 0"}));
}

TEST(WorkloadSteps, TheFifoWindowInsertsAboveAllAndErasesTheSmallest) {
    RecordingMap map;
    IntegerData payload(1);
    insertInOrder(map, 3, KeyOrder::ascending, &payload, RunNow{});
    FifoWindow window(map, 3, &payload);
    window.step(RunNow{});
    window.step(RunNow{});
    EXPECT_EQ(window.first(), 2u);
    EXPECT_EQ(map.log, (std::vector<std::string>{"insert 0", "insert 2", "insert 4", "insert 6",
                                                 "erase 0", "insert 8", "erase 2"}));
    EXPECT_EQ(map.size(), 3);
}

TEST(MachineLoad, SharesOfARunFromTwoSamples) {
    MachineSample before;
    MachineSample after;
    after.at = before.at + std::chrono::seconds(2);
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    after.stealTicks = static_cast<std::uint64_t>(0.2 * ticks);  // 10 % of 2 s
    after.busyTicks = static_cast<std::uint64_t>(3 * ticks);
    after.ownTicks = static_cast<std::uint64_t>(2 * ticks);  // others: 1 s of 2
    after.interrupts = 500;
    after.involuntarySwitches = 3;
    after.load = 1.5;
    const Interference seen = Interference::between(before, after);
    EXPECT_DOUBLE_EQ(seen.seconds, 2.0);
    EXPECT_NEAR(seen.steal, 0.1, 0.01);
    EXPECT_NEAR(seen.others, 0.5, 0.01);
    EXPECT_EQ(seen.interrupts, 500u);
    EXPECT_EQ(seen.involuntarySwitches, 3u);
    EXPECT_EQ(seen.load, 1.5);
}

TEST(MachineLoad, ASampleOfThisMachineMovesForward) {
    const MachineSample first = MachineSample::now();
    const MachineSample second = MachineSample::now();
    EXPECT_GE(second.busyTicks, first.busyTicks);
    EXPECT_GE(second.interrupts, first.interrupts);
    EXPECT_GT(first.interrupts, 0u);  // Linux counts them in /proc/stat
}
