// The workloads users ask about beyond the program's own, timed with Google
// Benchmark on our maps and the peers, every map reached through Map*:
//
//   ascending_insert   n keys inserted in ascending order into an empty map
//   ascending_find     finds of every key in ascending order, cycling
//   descending_insert  n keys inserted in descending order
//   cold_ascending_insert  ascending insertion on pages the process has
//                      never touched: what growing the heap costs
//   zipf_find          Zipf-skewed finds (exponent 0.99) over the filled map
//   miss_find          finds of which 90 % seek an absent key
//   independent_find   finds of present keys drawn uniformly
//   dependent_find     the same keys, each next one chosen from the previous
//                      find's result, so that finds cannot overlap
//   fifo               a window of n keys: each step inserts a key above all
//                      present ones and erases the smallest (ns per step)
//   walk               every entry in key order, one scan from the smallest
//                      key (ns per visited entry)
//   short_scan         95 % scans of 1 to 100 entries from a uniform start,
//                      5 % insertions of new keys (ns per scan)
//   short_scan_zipf    the same from Zipf-skewed starts (exponent 0.99)
//   core_a .. core_f   the standard core workloads, mixes of reads, updates,
//                      insertions, scans and read-modify-writes over Zipf
//                      or the latest keys (mix_recipe.h)
//   own_mix            a mix of one's own, with --mix=RECIPE
//   trace              the operations of a file, with --trace=FILE
//
// The scans run on the contenders that can walk their keys in order: our
// maps' own scans and the ordered peers' iterators, each with its visitor
// inlined; the hash map has none.
//
// The finds run over a map filled in random key order; a sorted array holds
// the same entries whatever the order, so above 1e5 it is filled in key
// order instead (its random fill would take minutes). Sorted arrays stop at
// 1e5 for descending_insert and the short scans (each insertion moves
// every entry) and at 1e6 for fifo (each step moves every entry).
//
// The B-tree runs at the program's default order and at the orders that
// came out fastest in the phase runs.
//
// With --share-fills, the suites that read a map filled in random order
// share one fill, and so do those on the ascending fill; the suites that
// change their map (the FIFO window, the short scans' insertions) come
// last. The report runs each map in a process of its own that way at 1e6
// and beyond, where a fill takes seconds.
//
// Flags: --list (what it runs, as JSON), --sizes=1000,10000 (default 1e3 to
// 1e7), --share-fills, --mix=RECIPE, --trace=FILE, and the library's own.
#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"
#include "declared_heap.h"
#include "filled_maps.h"
#include "mix_benchmarks.h"
#include "workload_keys.h"
#include "workload_steps.h"

namespace {

// Builds of n keys in `order`, each into a new map; on a cold heap, each
// build starts after the process has given every free page back.
void benchmarkInsertion(benchmark::State& state, const Contender& contender, std::size_t n,
                        KeyOrder order, bool coldHeap = false) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        if (coldHeap) {
            DeclaredHeap::release();
        }
        state.ResumeTiming();
        insertInOrder(*map, n, order, &g_payload, RunNow{});
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    perOperation(state, static_cast<std::int64_t>(n));
}

void runQueries(benchmark::State& state, OnFill run) {
    Map& map = run.map;
    const int* queries = run.at.queries.data();
    std::size_t next = run.at.next;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            benchmark::DoNotOptimize(map.find(queries[next++ & (kQueryRing - 1)]));
        }
    }
    run.at.next = next;
    perOperation(state, kBatch);
}

void benchmarkAscendingFind(benchmark::State& state, const RunKeys& keys,
                            const Contender& contender, std::size_t n) {
    const OnFill run = filled(keys, contender, n, Fill::ascending);
    Map& map = run.map;
    std::size_t next = run.at.next;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            benchmark::DoNotOptimize(map.find(presentKey(next)));
            next = next + 1 == n ? 0 : next + 1;
        }
    }
    run.at.next = next;
    perOperation(state, kBatch);
}

using Draw = std::vector<int> (*)(std::size_t, std::mt19937_64&);

// The map filled in random order, with the run's ring of queries drawn once
// by `draw`, from the generator seeded with kWorkloadSeed + `stream`.
OnFill withQueries(const RunKeys& keys, const Contender& contender, std::size_t n,
                   std::uint64_t stream, Draw draw) {
    const OnFill run = filled(keys, contender, n, Fill::random);
    if (run.at.queries.empty()) {
        std::mt19937_64 generator(kWorkloadSeed + stream);
        run.at.queries = draw(n, generator);
    }
    return run;
}

void benchmarkQueries(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                      std::size_t n, std::uint64_t stream, Draw draw) {
    runQueries(state, withQueries(keys, contender, n, stream, draw));
}

// Present keys drawn uniformly: the independent and the dependent finds
// seek the same ones.
constexpr std::uint64_t kUniformStream = 5;
std::vector<int> uniformQueries(std::size_t n, std::mt19937_64& generator) {
    return missingQueries(n, 0.0, generator);
}

// Finds of present keys drawn uniformly, each key straight from the ring:
// the processor may run several finds at once.
void benchmarkIndependentFind(benchmark::State& state, const RunKeys& keys,
                              const Contender& contender, std::size_t n) {
    benchmarkQueries(state, keys, contender, n, kUniformStream, uniformQueries);
}

// The same keys in the same order, but the index of each next key is the
// previous index plus the value of the record the previous find returned
// (every payload holds 1): no find can start before the one before it has
// ended, so each costs a whole lookup's latency.
void benchmarkDependentFind(benchmark::State& state, const RunKeys& keys,
                            const Contender& contender, std::size_t n) {
    const OnFill run = withQueries(keys, contender, n, kUniformStream, uniformQueries);
    const Map& map = run.map;
    const int* queries = run.at.queries.data();
    std::size_t next = run.at.next;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            const auto* found = static_cast<const IntegerData*>(map.find(queries[next]));
            next = (next + static_cast<std::size_t>(found ? found->value : 1)) & (kQueryRing - 1);
        }
    }
    run.at.next = next;
    perOperation(state, kBatch);
}

void benchmarkZipfFind(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                       std::size_t n) {
    benchmarkQueries(state, keys, contender, n, 1, [](std::size_t count, std::mt19937_64& g) {
        return zipfQueries(count, 0.99, g);
    });
}

void benchmarkMissFind(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                       std::size_t n) {
    benchmarkQueries(state, keys, contender, n, 2, [](std::size_t count, std::mt19937_64& g) {
        return missingQueries(count, 0.9, g);
    });
}

void benchmarkFifo(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                   std::size_t n) {
    const OnFill run = filled(keys, contender, n, Fill::ascending);
    FifoWindow window(run.map, n, &g_payload, run.at.next);
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            window.step(RunNow{});
        }
    }
    run.at.next = window.first();
    perOperation(state, kBatch);
}

// One scan over the whole map per iteration: ns per visited entry.
void benchmarkWalk(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                   std::size_t n) {
    const Map& map = filled(keys, contender, n, Fill::random).map;
    ScanTally tally;
    for (auto _ : state) {
        benchmark::DoNotOptimize(contender.scan(map, INT_MIN, kScanAll, tally));
    }
    benchmark::DoNotOptimize(tally);
    perOperation(state, static_cast<std::int64_t>(n));
}

// ns per scan, the insertions' time included; the entries a scan visits on
// average go to the counter "entries_per_scan".
void benchmarkShortScans(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                         std::size_t n, bool zipfStarts) {
    const OnFill run = filled(keys, contender, n, Fill::random);
    if (run.at.scanSteps.empty()) {
        std::mt19937_64 generator(kWorkloadSeed + (zipfStarts ? 4 : 3));
        run.at.scanSteps = shortScanSteps(n, zipfStarts, generator);
    }
    Map& map = run.map;
    const ScanStep* steps = run.at.scanSteps.data();
    const std::size_t first = run.at.next;
    std::size_t next = first;
    ScanTally tally;
    std::int64_t visited = 0;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            const ScanStep step = steps[next++ & (kQueryRing - 1)];
            if (step.length == 0) {
                map.insert(step.key, &g_payload);
                continue;
            }
            visited += contender.scan(map, step.key, step.length, tally);
        }
    }
    benchmark::DoNotOptimize(tally);
    run.at.next = next;
    std::int64_t scans = 0;
    for (std::size_t step = first; step != next; ++step) {
        scans += steps[step & (kQueryRing - 1)].length > 0 ? 1 : 0;
    }
    state.SetItemsProcessed(scans);
    state.counters["entries_per_scan"] =
        scans > 0 ? static_cast<double>(visited) / static_cast<double>(scans) : 0.0;
}

void shortScans(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                std::size_t n) {
    benchmarkShortScans(state, keys, contender, n, false);
}

void zipfShortScans(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                    std::size_t n) {
    benchmarkShortScans(state, keys, contender, n, true);
}

void ascendingInsert(benchmark::State& state, const RunKeys&, const Contender& contender,
                     std::size_t n) {
    benchmarkInsertion(state, contender, n, KeyOrder::ascending);
}

void descendingInsert(benchmark::State& state, const RunKeys&, const Contender& contender,
                      std::size_t n) {
    benchmarkInsertion(state, contender, n, KeyOrder::descending);
}

void coldAscendingInsert(benchmark::State& state, const RunKeys&, const Contender& contender,
                         std::size_t n) {
    benchmarkInsertion(state, contender, n, KeyOrder::ascending, true);
}

// A mix of one's own and a trace, when asked for, before the cold suite, so
// that the suites on the kept fills run before it gives the free pages back.
void addAskedSuites(const CommandLine& flags, std::vector<Suite>& suites) {
    std::vector<Suite> asked;
    if (flags.has("--mix")) {
        const std::string text = flags.text("--mix");
        try {
            asked.push_back(ownMixSuite(parseMix(text), text));
        } catch (const MixError& error) {
            throw FlagError(std::string("--mix: ") + error.what());
        }
    }
    if (flags.has("--trace")) {
        const std::string path = flags.text("--trace");
        std::ifstream in(path);
        if (!in) {
            throw FlagError("--trace: cannot read " + path);
        }
        try {
            asked.push_back(traceSuite(std::make_shared<const Trace>(readTrace(in))));
        } catch (const TraceError& error) {
            throw FlagError("--trace: " + path + ", " + error.what());
        }
    }
    suites.insert(suites.end() - 1, std::make_move_iterator(asked.begin()),
                  std::make_move_iterator(asked.end()));
}

// The fills several suites may share.
constexpr const char* kRandomFill = "random";
constexpr const char* kAscendingFill = "ascending";
constexpr const char* kOwnMaps = "";

Suite workload(const char* name, SuiteRun run, std::size_t largestArray, const char* unit,
               const char* description, const char* fill, bool scans = false) {
    SuiteInfo info{name, unit, largestArray, description, scans};
    info.sharedFill = fill;
    return {std::move(info), std::move(run)};
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<Contender>& contenders = workloadContenders();
    BenchProgram program;
    program.list.program = "map_workloads_bench";
    program.list.defaultSizes = {1000, 10000, 100000, 1000000, 10000000};
    program.list.contenders = &contenders;
    program.list.context = {
        {"key_generator", "std::mt19937_64, seed " + std::to_string(kWorkloadSeed)}};
    // Sorted arrays stop where one run would take minutes: descending
    // insertion and the FIFO window move every entry at every step. The
    // suites that change a shared fill come after those that only read it.
    program.suites = {
        workload("ascending_insert", ascendingInsert, kNoLimit, "operation",
                 "n keys inserted in ascending order into an empty map", kOwnMaps),
        workload("ascending_find", benchmarkAscendingFind, kNoLimit, "operation",
                 "finds of every key in ascending order, cycling", kAscendingFill),
        workload("descending_insert", descendingInsert, kLargestRandomArrayFill, "operation",
                 "n keys inserted in descending order into an empty map", kOwnMaps),
        workload("zipf_find", benchmarkZipfFind, kNoLimit, "operation",
                 "Zipf-skewed finds (exponent 0.99) on the filled map", kRandomFill),
        workload("miss_find", benchmarkMissFind, kNoLimit, "operation",
                 "finds of which 90 % seek an absent key", kRandomFill),
        workload("independent_find", benchmarkIndependentFind, kNoLimit, "operation",
                 "finds of present keys drawn uniformly, free to overlap", kRandomFill),
        workload("dependent_find", benchmarkDependentFind, kNoLimit, "operation",
                 "the same keys, each drawn after the previous find returned: one lookup's "
                 "latency",
                 kRandomFill),
        workload("fifo", benchmarkFifo, 10 * kLargestRandomArrayFill, "step",
                 "a window of n keys: insert a key above all, erase the smallest", kAscendingFill),
        workload("walk", benchmarkWalk, kNoLimit, "visited entry",
                 "every entry in key order, one scan from the smallest key", kRandomFill, true),
        workload("short_scan", shortScans, kLargestRandomArrayFill, "scan",
                 "95 % scans of 1 to 100 entries from a uniform start, 5 % insertions of new "
                 "keys, timed with the scans",
                 kRandomFill, true),
        workload("short_scan_zipf", zipfShortScans, kLargestRandomArrayFill, "scan",
                 "the same, from Zipf-skewed starts (exponent 0.99)", kRandomFill, true),
    };
    for (Suite& core : coreSuites()) {
        program.suites.push_back(std::move(core));
    }
    program.suites.push_back(
        workload("cold_ascending_insert", coldAscendingInsert, kNoLimit, "operation",
                 "ascending insertion on pages the process has never touched: the heap is "
                 "given back before each build",
                 kOwnMaps));
    program.suites.back().info.coldHeap = true;
    program.flags = {{"--mix", true, "a mix of one's own, such as find=95,insert=5,keys=zipf"},
                     {"--trace", true, "a file of operations to replay (docs/measuring.md)"}};
    program.addSuites = addAskedSuites;
    return benchMain(argc, argv, std::move(program));
}
