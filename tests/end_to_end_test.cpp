// Runs the built program and compares its whole output, durations masked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>

#include "program_runner.h"

namespace {

const std::string kVectorBanner = "**** Timing Vector implementation...\n";
const std::string kTimeLines =
    "Time for iter random finds: # seconds\n"
    "Time for iter random insertions and erasures: # seconds\n";
const std::string kFindLine = "Time for iter random finds: # seconds\n";
const std::string kMixLine = "Time for iter random insertions and erasures: # seconds\n";
const std::string kSummary = "#, #\n";

// What every timed map writes at the default output level.
std::string defaultOutput() { return kVectorBanner + kTimeLines + kSummary; }

// The vector map's dump of the records that the default seed gives.
std::string vectorDump(int records, unsigned seed = 56789) {
    std::srand(seed);
    std::set<int> keys;
    for (int i = 0; i < records; ++i) {
        keys.insert(std::rand());
    }
    std::ostringstream dump;
    dump << "size=" << keys.size() << " entries= ";
    for (int key : keys) {
        dump << key << ",";
    }
    dump << "\n";
    return dump.str();
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

TEST(EndToEnd, DefaultsWriteBannerTimesAndSummaryPerMap) { expectRun("", defaultOutput()); }

TEST(EndToEnd, SummaryDurationsUseDefaultFloatFormat) {
    const ProgramResult result = runMapbench("-o0 -n100 -i1000");
    EXPECT_TRUE(std::regex_match(result.out, std::regex(
        "([0-9]+(\\.[0-9]{1,6})?(e-[0-9]+)?, [0-9]+(\\.[0-9]{1,6})?(e-[0-9]+)?\n)+")))
        << result.out;
}

TEST(EndToEnd, OutputLevelZeroWritesOnlySummaries) { expectRun("-o0 -n50 -i100", kSummary); }

TEST(EndToEnd, OutputLevelTwoDumpsEachMapAfterItsBanner) {
    expectRun("-o2 -n5 -i10", kVectorBanner + vectorDump(5) + kTimeLines + kSummary);
}

TEST(EndToEnd, SelectorOutsideTheTableWritesNothing) {
    expectRun("-d5", "");
    expectRun("-d-1", "");
}

TEST(EndToEnd, PhaseSelectorChoosesTheTimeLines) {
    expectRun("-f1 -n50 -i100", kVectorBanner + kFindLine + kSummary);
    expectRun("-f2 -n50 -i100", kVectorBanner + kMixLine + kSummary);
    expectRun("-f3 -n50 -i100", kVectorBanner + kSummary);
    expectRun("-f3 -o2 -n4 -i100", kVectorBanner + vectorDump(4) + kSummary);
}

TEST(EndToEnd, NoIterationsStillWriteBothTimeLines) {
    expectRun("-i0 -n50", defaultOutput());
    expectRun("-i-3 -n50", defaultOutput());
}

TEST(EndToEnd, ValueInTheNextArgumentIsIgnored) {
    expectRun("-n 500 -i0 -o2", kVectorBanner + "size=0 entries= \n" + kTimeLines + kSummary);
}

TEST(EndToEnd, UnknownArgumentsAreIgnored) {
    expectRun("x5 -z3 -o2 -n6 -i10", kVectorBanner + vectorDump(6) + kTimeLines + kSummary);
}

TEST(EndToEnd, LaterOptionOverridesEarlier) {
    expectRun("-n5 -n7 -o2 -i100 -i200", kVectorBanner + vectorDump(7) + kTimeLines + kSummary);
}

TEST(EndToEnd, SeedChangesTheRecords) {
    expectRun("-s7 -o2 -n6 -i10", kVectorBanner + vectorDump(6, 7) + kTimeLines + kSummary);
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
