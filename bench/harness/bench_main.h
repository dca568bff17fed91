// Registration and main of the Google Benchmark programs: every suite on
// every contender at every size of the run plan, with progress lines on
// standard error and the program's list on `--list`.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bench_list.h"
#include "command_line.h"
#include "constants.h"

// The keys a benchmark keeps its state under (run_cache.h): `run`, its own
// ("suite/contender/n"); `fill`, the same, or the fill it shares with the
// other suites of the contender when the program shares fills
// (--share-fills) and the suite names one.
struct RunKeys {
    std::string run;
    std::string fill;
};

// Runs one benchmark: the library calls it several times in a row (its
// warm-up, then while it settles the iteration count), always with the same
// keys.
using SuiteRun =
    std::function<void(benchmark::State&, const RunKeys&, const Contender&, std::size_t n)>;

struct Suite {
    SuiteInfo info;
    SuiteRun run;
};

struct BenchProgram {
    BenchList list;  // list.suites is filled from `suites`
    std::vector<Suite> suites;
    // Flags of the program's own, and the suites it adds for them (an empty
    // function for none); its FlagError ends the program as a bad flag does.
    std::vector<Flag> flags = {};
    std::function<void(const CommandLine&, std::vector<Suite>&)> addSuites = nullptr;
};

// Items per second from `operations` per timed iteration, so that the
// report reads ns per operation.
inline void perOperation(benchmark::State& state, std::int64_t operationsPerIteration) {
    state.SetItemsProcessed(state.iterations() * operationsPerIteration);
}

// --list prints the list; --sizes=... chooses the record counts;
// --share-fills lets the suites that read one fill share it; the
// "--benchmark_..." flags are the library's; anything else is refused.
// Every run starts from the declared heap (declared_heap.h) after an untimed
// warm-up of the benchmark itself.
int benchMain(int argc, char** argv, BenchProgram program);
