// The workloads users ask about beyond the program's own, timed with Google
// Benchmark on our maps and the peers, every map reached through Map*:
//
//   ascending_insert   n keys inserted in ascending order into an empty map
//   ascending_find     finds of every key in ascending order, cycling
//   descending_insert  n keys inserted in descending order
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
// Flags: --list (what it runs, as JSON), --sizes=1000,10000 (default 1e3 to
// 1e7), and the library's own.
#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"
#include "run_cache.h"
#include "workload_keys.h"
#include "workload_steps.h"

namespace {

IntegerData g_payload(1);  // every key's payload; never read by a map

void benchmarkInsertion(benchmark::State& state, const Contender& contender, std::size_t n,
                        KeyOrder order) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        state.ResumeTiming();
        insertInOrder(*map, n, order, &g_payload, RunNow{});
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    perOperation(state, static_cast<std::int64_t>(n));
}

// The filled map of the run in progress and its queries.
struct Filled {
    std::unique_ptr<Map> map;
    std::vector<int> queries;
    std::vector<ScanStep> scanSteps;
    std::size_t next = 0;  // the next query, FIFO step or scan step
};

RunCache<Filled> g_filled;

enum class Fill { ascending, random };

Filled& filled(const std::string& name, const Contender& contender, std::size_t n, Fill fill) {
    return g_filled.resume(name, [&] {
        Filled live;
        live.map = contender.make();
        std::mt19937_64 generator(kWorkloadSeed);
        if (fill == Fill::random && !(contender.quadraticFill && n > kLargestRandomArrayFill)) {
            for (int key : shuffledKeys(n, generator)) {
                live.map->insert(key, &g_payload);
            }
        } else {
            insertInOrder(*live.map, n, KeyOrder::ascending, &g_payload, RunNow{});
        }
        return live;
    });
}

void runQueries(benchmark::State& state, Filled& live) {
    Map& map = *live.map;
    const int* queries = live.queries.data();
    std::size_t next = live.next;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            benchmark::DoNotOptimize(map.find(queries[next++ & (kQueryRing - 1)]));
        }
    }
    live.next = next;
    perOperation(state, kBatch);
}

void benchmarkAscendingFind(benchmark::State& state, const std::string& name,
                            const Contender& contender, std::size_t n) {
    Filled& live = filled(name, contender, n, Fill::ascending);
    Map& map = *live.map;
    std::size_t next = live.next;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            benchmark::DoNotOptimize(map.find(presentKey(next)));
            next = next + 1 == n ? 0 : next + 1;
        }
    }
    live.next = next;
    perOperation(state, kBatch);
}

// The map of the run filled in random order, with a ring of queries drawn
// once per run by `draw`, from the generator seeded with kWorkloadSeed +
// `stream`.
Filled& withQueries(const std::string& name, const Contender& contender, std::size_t n,
                    std::uint64_t stream, std::vector<int> (*draw)(std::size_t, std::mt19937_64&)) {
    Filled& live = filled(name, contender, n, Fill::random);
    if (live.queries.empty()) {
        std::mt19937_64 generator(kWorkloadSeed + stream);
        live.queries = draw(n, generator);
    }
    return live;
}

void benchmarkQueries(benchmark::State& state, const std::string& name, const Contender& contender,
                      std::size_t n, std::uint64_t stream,
                      std::vector<int> (*draw)(std::size_t, std::mt19937_64&)) {
    runQueries(state, withQueries(name, contender, n, stream, draw));
}

// Present keys drawn uniformly: the independent and the dependent finds
// seek the same ones.
constexpr std::uint64_t kUniformStream = 5;
std::vector<int> uniformQueries(std::size_t n, std::mt19937_64& generator) {
    return missingQueries(n, 0.0, generator);
}

// Finds of present keys drawn uniformly, each key straight from the ring:
// the processor may run several finds at once.
void benchmarkIndependentFind(benchmark::State& state, const std::string& name,
                              const Contender& contender, std::size_t n) {
    benchmarkQueries(state, name, contender, n, kUniformStream, uniformQueries);
}

// The same keys in the same order, but the index of each next key is the
// previous index plus the value of the record the previous find returned
// (every payload holds 1): no find can start before the one before it has
// ended, so each costs a whole lookup's latency.
void benchmarkDependentFind(benchmark::State& state, const std::string& name,
                            const Contender& contender, std::size_t n) {
    Filled& live = withQueries(name, contender, n, kUniformStream, uniformQueries);
    const Map& map = *live.map;
    const int* queries = live.queries.data();
    std::size_t next = live.next;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            const auto* found = static_cast<const IntegerData*>(map.find(queries[next]));
            next = (next + static_cast<std::size_t>(found ? found->value : 1)) & (kQueryRing - 1);
        }
    }
    live.next = next;
    perOperation(state, kBatch);
}

void benchmarkZipfFind(benchmark::State& state, const std::string& name, const Contender& contender,
                       std::size_t n) {
    benchmarkQueries(state, name, contender, n, 1, [](std::size_t keys, std::mt19937_64& g) {
        return zipfQueries(keys, 0.99, g);
    });
}

void benchmarkMissFind(benchmark::State& state, const std::string& name, const Contender& contender,
                       std::size_t n) {
    benchmarkQueries(state, name, contender, n, 2, [](std::size_t keys, std::mt19937_64& g) {
        return missingQueries(keys, 0.9, g);
    });
}

void benchmarkFifo(benchmark::State& state, const std::string& name, const Contender& contender,
                   std::size_t n) {
    Filled& live = filled(name, contender, n, Fill::ascending);
    FifoWindow window(*live.map, n, &g_payload, live.next);
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            window.step(RunNow{});
        }
    }
    live.next = window.first();
    perOperation(state, kBatch);
}

// One scan over the whole map per iteration: ns per visited entry.
void benchmarkWalk(benchmark::State& state, const std::string& name, const Contender& contender,
                   std::size_t n) {
    Filled& live = filled(name, contender, n, Fill::random);
    const Map& map = *live.map;
    ScanTally tally;
    for (auto _ : state) {
        benchmark::DoNotOptimize(contender.scan(map, INT_MIN, kScanAll, tally));
    }
    benchmark::DoNotOptimize(tally);
    perOperation(state, static_cast<std::int64_t>(n));
}

// ns per scan, the insertions' time included; the entries a scan visits on
// average go to the counter "entries_per_scan".
void benchmarkShortScans(benchmark::State& state, const std::string& name,
                         const Contender& contender, std::size_t n, bool zipfStarts) {
    Filled& live = filled(name, contender, n, Fill::random);
    if (live.scanSteps.empty()) {
        std::mt19937_64 generator(kWorkloadSeed + (zipfStarts ? 4 : 3));
        live.scanSteps = shortScanSteps(n, zipfStarts, generator);
    }
    Map& map = *live.map;
    const ScanStep* steps = live.scanSteps.data();
    const std::size_t first = live.next;
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
    live.next = next;
    std::int64_t scans = 0;
    for (std::size_t step = first; step != next; ++step) {
        scans += steps[step & (kQueryRing - 1)].length > 0 ? 1 : 0;
    }
    state.SetItemsProcessed(scans);
    state.counters["entries_per_scan"] =
        scans > 0 ? static_cast<double>(visited) / static_cast<double>(scans) : 0.0;
}

void shortScans(benchmark::State& state, const std::string& name, const Contender& contender,
                std::size_t n) {
    benchmarkShortScans(state, name, contender, n, false);
}

void zipfShortScans(benchmark::State& state, const std::string& name, const Contender& contender,
                    std::size_t n) {
    benchmarkShortScans(state, name, contender, n, true);
}

void ascendingInsert(benchmark::State& state, const std::string&, const Contender& contender,
                     std::size_t n) {
    benchmarkInsertion(state, contender, n, KeyOrder::ascending);
}

void descendingInsert(benchmark::State& state, const std::string&, const Contender& contender,
                      std::size_t n) {
    benchmarkInsertion(state, contender, n, KeyOrder::descending);
}

Suite workload(const char* name, SuiteRun run, std::size_t largestArray, const char* unit,
               const char* description, bool scans = false) {
    return {{name, unit, largestArray, description, scans}, std::move(run)};
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
    // insertion and the FIFO window move every entry at every step.
    program.suites = {
        workload("ascending_insert", ascendingInsert, kNoLimit, "operation",
                 "n keys inserted in ascending order into an empty map"),
        workload("ascending_find", benchmarkAscendingFind, kNoLimit, "operation",
                 "finds of every key in ascending order, cycling"),
        workload("descending_insert", descendingInsert, kLargestRandomArrayFill, "operation",
                 "n keys inserted in descending order into an empty map"),
        workload("zipf_find", benchmarkZipfFind, kNoLimit, "operation",
                 "Zipf-skewed finds (exponent 0.99) on the filled map"),
        workload("miss_find", benchmarkMissFind, kNoLimit, "operation",
                 "finds of which 90 % seek an absent key"),
        workload("independent_find", benchmarkIndependentFind, kNoLimit, "operation",
                 "finds of present keys drawn uniformly, free to overlap"),
        workload("dependent_find", benchmarkDependentFind, kNoLimit, "operation",
                 "the same keys, each drawn after the previous find returned: one lookup's "
                 "latency"),
        workload("fifo", benchmarkFifo, 10 * kLargestRandomArrayFill, "step",
                 "a window of n keys: insert a key above all, erase the smallest"),
        workload("walk", benchmarkWalk, kNoLimit, "visited entry",
                 "every entry in key order, one scan from the smallest key", true),
        workload("short_scan", shortScans, kLargestRandomArrayFill, "scan",
                 "95 % scans of 1 to 100 entries from a uniform start, 5 % insertions of new "
                 "keys, timed with the scans",
                 true),
        workload("short_scan_zipf", zipfShortScans, kLargestRandomArrayFill, "scan",
                 "the same, from Zipf-skewed starts (exponent 0.99)", true),
    };
    return benchMain(argc, argv, std::move(program));
}
