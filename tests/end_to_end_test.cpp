// Runs the built program and compares its whole output, durations masked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "program_runner.h"
#include "stdout_capture.h"

namespace {

const std::string kTimeLines =
    "Time for iter random finds: # seconds\n"
    "Time for iter random insertions and erasures: # seconds\n";
const std::string kFindLine = "Time for iter random finds: # seconds\n";
const std::string kMixLine = "Time for iter random insertions and erasures: # seconds\n";
const std::string kSummary = "#, #\n";

enum class MapId { Vector, BTree, Avl };

// The maps a selector times, in the order they are timed.
std::vector<MapId> selectedMaps(int selector) {
    switch (selector) {
        case 0:
            return {MapId::Vector, MapId::BTree, MapId::Avl};
        case 1:
            return {MapId::Vector};
        case 2:
            return {MapId::BTree};
        case 3:
            return {MapId::Avl};
        case 4:
            return {MapId::BTree, MapId::Avl};
        default:
            return {};
    }
}

std::string banner(MapId map) {
    switch (map) {
        case MapId::Vector:
            return "**** Timing Vector implementation...\n";
        case MapId::BTree:
            return "**** Timing BTree implementation...\n";
        case MapId::Avl:
            return "**** Timing AVLBinaryTree implementation...\n";
    }
    return "";
}

// The records' values as the program draws them.
std::vector<int> recordValues(int records, unsigned seed) {
    std::srand(seed);
    std::vector<int> values;
    for (int i = 0; i < records; ++i) {
        values.push_back(std::rand());
    }
    return values;
}

std::string vectorDump(const std::vector<int>& values) {
    const std::set<int> keys(values.begin(), values.end());
    std::ostringstream dump;
    dump << "size=" << keys.size() << " entries= ";
    for (int key : keys) {
        dump << key << ",";
    }
    dump << "\n";
    return dump.str();
}

// The tree's own printout of the filled map: its shape is the algorithm's.
template <typename M, typename... Args>
std::string printedAfterFill(const std::vector<int>& values, Args... constructorArguments) {
    M map(constructorArguments...);
    for (int value : values) {
        map.insert(value, nullptr);
    }
    return captureStdout([&] { map.print(); });
}

std::string dumpOf(MapId map, const std::vector<int>& values, int order) {
    switch (map) {
        case MapId::Vector:
            return vectorDump(values);
        case MapId::BTree:
            return printedAfterFill<BTree>(values, order);
        case MapId::Avl:
            return printedAfterFill<AVLBinaryTree>(values);
    }
    return "";
}

struct ExpectedRun {
    int selector = 0;
    std::string lines = kTimeLines;  // the time lines each map writes
    bool dumps = false;
    int records = 10000;
    unsigned seed = 56789;
    int order = 3;
};

std::string expectedOutput(const ExpectedRun& run) {
    const std::vector<int> values = recordValues(run.records, run.seed);
    std::string output;
    for (MapId map : selectedMaps(run.selector)) {
        output += banner(map);
        if (run.dumps) {
            output += dumpOf(map, values, run.order);
        }
        output += run.lines + kSummary;
    }
    return output;
}

std::string defaultOutput() {
    return expectedOutput(ExpectedRun{});
}

ExpectedRun dumped(int records, unsigned seed = 56789, int order = 3) {
    ExpectedRun run;
    run.dumps = true;
    run.records = records;
    run.seed = seed;
    run.order = order;
    return run;
}

ExpectedRun withLines(const std::string& lines) {
    ExpectedRun run;
    run.lines = lines;
    return run;
}

ExpectedRun onlyMaps(int selector) {
    ExpectedRun run;
    run.selector = selector;
    return run;
}

void expectRun(const std::string& arguments, const std::string& expected) {
    const ProgramResult result = runMapbench(arguments);
    EXPECT_EQ(maskDurations(result.out), expected) << "mapbench " << arguments;
    EXPECT_EQ(result.err, "") << "mapbench " << arguments;
    EXPECT_EQ(result.exitStatus, 0) << "mapbench " << arguments;
}

bool builtWithAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

}  // namespace

TEST(EndToEnd, DefaultsWriteBannerTimesAndSummaryPerMap) {
    expectRun("", defaultOutput());
}

TEST(EndToEnd, SummaryDurationsUseDefaultFloatFormat) {
    const ProgramResult result = runMapbench("-o0 -n100 -i1000");
    EXPECT_TRUE(std::regex_match(
        result.out,
        std::regex("([0-9]+(\\.[0-9]{1,6})?(e-[0-9]+)?, [0-9]+(\\.[0-9]{1,6})?(e-[0-9]+)?\n)+")))
        << result.out;
}

TEST(EndToEnd, OutputLevelZeroWritesOnlySummaries) {
    std::string summaries;
    for (std::size_t i = 0; i < selectedMaps(0).size(); ++i) {
        summaries += kSummary;
    }
    expectRun("-o0 -n50 -i100", summaries);
    expectRun("-o-4 -n50 -i100", summaries);
}

TEST(EndToEnd, OutputLevelTwoDumpsEachMapAfterItsBanner) {
    expectRun("-o2 -n5 -i10", expectedOutput(dumped(5)));
    expectRun("-o2 -n60 -i10 -c4", expectedOutput(dumped(60, 56789, 4)));
}

TEST(EndToEnd, MapSelectorChoosesTheMaps) {
    for (int selector : {1, 2, 3, 4}) {
        expectRun("-n50 -i100 -d" + std::to_string(selector), expectedOutput(onlyMaps(selector)));
    }
}

TEST(EndToEnd, BTreeDumpUsesTheOrderGiven) {
    ExpectedRun run = dumped(7, 56789, 10);
    run.selector = 2;
    expectRun("-d2 -o2 -n7 -c10", expectedOutput(run));
    run.order = 3;
    expectRun("-d2 -o2 -n7 -c-7", expectedOutput(run));
}

TEST(EndToEnd, SelectorOutsideTheTableWritesNothing) {
    expectRun("-d5", "");
    expectRun("-d-1", "");
}

TEST(EndToEnd, PhaseSelectorChoosesTheTimeLines) {
    expectRun("-f1 -n50 -i100", expectedOutput(withLines(kFindLine)));
    expectRun("-f2 -n50 -i100", expectedOutput(withLines(kMixLine)));
    expectRun("-f3 -n50 -i100", expectedOutput(withLines("")));
    ExpectedRun dumpOnly = dumped(4);
    dumpOnly.lines = "";
    expectRun("-f3 -o2 -n4 -i100", expectedOutput(dumpOnly));
}

TEST(EndToEnd, NoIterationsStillWriteBothTimeLines) {
    expectRun("-i0 -n50", defaultOutput());
    expectRun("-i-3 -n50", defaultOutput());
}

TEST(EndToEnd, ValueInTheNextArgumentIsIgnored) {
    expectRun("-n 500 -i0 -o2", expectedOutput(dumped(0)));
}

TEST(EndToEnd, UnknownArgumentsAreIgnored) {
    expectRun("x5 -z3 -o2 -n6 -i10", expectedOutput(dumped(6)));
}

TEST(EndToEnd, LaterOptionOverridesEarlier) {
    expectRun("-n5 -n7 -o2 -i100 -i200", expectedOutput(dumped(7)));
}

TEST(EndToEnd, SeedChangesTheRecords) {
    expectRun("-s7 -o2 -n6 -i10", expectedOutput(dumped(6, 7)));
}

TEST(EndToEnd, NoRecordsWithIterationsFinishesCleanly) {
    expectRun("-n0 -i10", defaultOutput());
    expectRun("-n-5 -i10", defaultOutput());
}

TEST(EndToEnd, IdenticalRunsGiveIdenticalOutput) {
    const ProgramResult first = runMapbench("-o2 -n40 -i5000");
    const ProgramResult second = runMapbench("-o2 -n40 -i5000");
    EXPECT_EQ(maskDurations(first.out), maskDurations(second.out));
}

TEST(EndToEnd, RecordCountBeyondMemoryFailsClearly) {
    if (builtWithAddressSanitizer()) {
        GTEST_SKIP() << "the sanitizer's allocator does not honour the address-space limit";
    }
    const ProgramResult result = runMapbench("-n2000000000", "ulimit -v 4000000;");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "mapbench: out of memory: cannot allocate 2000000000 records\n");
    EXPECT_EQ(result.exitStatus, 1);
}

TEST(EndToEnd, BTreeOrderBeyondMemoryFailsClearly) {
    if (builtWithAddressSanitizer()) {
        GTEST_SKIP() << "the sanitizer's allocator does not honour the address-space limit";
    }
    const ProgramResult result = runMapbench("-c2147483647 -n10", "ulimit -v 4000000;");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "mapbench: out of memory: cannot create the maps (B-tree of order 2147483647)\n");
    EXPECT_EQ(result.exitStatus, 1);
}
