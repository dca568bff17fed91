// What every bench program shares: the constants of the measured workloads,
// the record counts it is asked for, and the description of what it runs,
// which `--list` prints as JSON for the report and the comparison script.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "contenders.h"
#include "options.h"

// The program's default seed (-s): the phases and the counts draw what
// mapbench draws by default.
constexpr int kProgramSeed = Settings{}.seed;
// The program's default B-tree order (-c).
constexpr int kProgramOrder = Settings{}.order;
// The B-tree orders of the workload and latency runs: the program's default
// and the orders that came out fastest in the phase runs.
inline const std::vector<int> kWorkloadOrders = {kProgramOrder, 32, 64, 128};
// The sizes of the per-call latency runs: in the caches, and beyond them.
inline const std::vector<int> kLatencySizes = {10000, 1000000};
// Operations per timed iteration of a find or mix loop.
constexpr int kBatch = 1000;
// A sorted array's random fill moves half the array per insertion: above
// this size it takes seconds, so the timed fills stop here and other suites
// fill sorted arrays in key order, which leaves the same array.
constexpr std::size_t kLargestRandomArrayFill = 100000;
// The sizes at which the report judges the targets.
const std::vector<int>& targetSizes();

// One family of timed runs, such as "find" or "fifo".
struct SuiteInfo {
    std::string name;
    std::string unit;  // what one timed item is: "operation", "step"
    // Contenders with a quadratic fill run only up to this size.
    std::size_t largestArray;
    std::string description;
    // The suite walks keys in order: only contenders with a scan run it.
    bool scans = false;
};

// What a bench program runs, as `--list` tells it.
struct BenchList {
    std::string program;
    std::vector<int> defaultSizes;
    const std::vector<Contender>* contenders;
    std::vector<SuiteInfo> suites;
    // Further facts for the report, such as the key generator.
    std::vector<std::pair<std::string, std::string>> context;
    bool withTargets = false;  // the goals of our maps against their peers
};

// Writes the list as one JSON document.
void writeList(std::ostream& out, const BenchList& list);

// Whether the contender runs at size n in the suite.
bool runsAt(const SuiteInfo& suite, const Contender& contender, std::size_t n);

// Takes every argument that starts with `prefix` out of the arguments;
// `value` is the rest of the last one. False when there was none.
bool takeOption(int& argc, char** argv, const std::string& prefix, std::string& value);

// "a,b,c" as {"a", "b", "c"}.
std::vector<std::string> splitList(const std::string& list);

// Takes "--sizes=a,b,c" out of the arguments (record counts); `fallback`
// when it is absent. Exits with a message on a malformed list.
std::vector<int> takeSizes(int& argc, char** argv, std::vector<int> fallback);

// Takes "--list" out of the arguments; true when it was there.
bool takeListFlag(int& argc, char** argv);
