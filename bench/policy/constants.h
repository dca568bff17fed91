// The constants every bench program shares: the program's own settings, the
// sizes and orders measured, the batch of a timed loop and the cut-off of
// the sorted arrays' random fill.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "options.h"

// The program's default seed (-s): the phases and the counts draw what
// mapbench draws by default.
constexpr int kProgramSeed = Settings{}.seed;
// The program's default B-tree order (-c).
constexpr int kProgramOrder = Settings{}.order;
// The B-tree orders the phase benchmarks sweep.
inline const std::vector<int> kPhaseOrders = {3, 4, 8, 16, 32, 64, 128, 256};
// The B-tree orders of the workload and latency runs: the program's default
// and the orders that came out fastest in the phase runs.
inline const std::vector<int> kWorkloadOrders = {kProgramOrder, 32, 64, 128};
// The sizes of the per-call latency runs: in the caches, and beyond them.
inline const std::vector<int> kLatencySizes = {10000, 1000000};
// The sizes at which the report judges the targets.
inline const std::vector<int> kTargetSizes = {10000, 100000};
// Operations per timed iteration of a find or mix loop.
constexpr int kBatch = 1000;
// A sorted array's random fill moves half the array per insertion: above
// this size it takes seconds, so the timed fills stop here and other suites
// fill sorted arrays in key order, which leaves the same array.
constexpr std::size_t kLargestRandomArrayFill = 100000;
// A suite that every contender runs at every size.
constexpr std::size_t kNoLimit = SIZE_MAX;
