// The workloads users ask about beyond the program's own, timed with Google
// Benchmark on our maps and the peers, every map reached through Map*:
//
//   ascending_insert   n keys inserted in ascending order into an empty map
//   ascending_find     finds of every key in ascending order, cycling
//   descending_insert  n keys inserted in descending order
//   zipf_find          Zipf-skewed finds (exponent 0.99) over the filled map
//   miss_find          finds of which 90 % seek an absent key
//   fifo               a window of n keys: each step inserts a key above all
//                      present ones and erases the smallest (ns per step)
//
// The finds run over a map filled in random key order; a sorted array holds
// the same entries whatever the order, so above 1e5 it is filled in key
// order instead (its random fill would take minutes). Sorted arrays stop at
// 1e5 for descending_insert (each insertion moves every entry) and at 1e6
// for fifo (each step moves every entry).
//
// Extra flag: --sizes=1000,10000 (default 1e3 to 1e7).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "contenders.h"
#include "progress.h"
#include "workloads.h"

namespace {

constexpr int kBatch = 1000;
constexpr std::size_t kLargestRandomArrayFill = 100000;
IntegerData g_payload(1);  // every key's payload; never read by a map

void perOperation(benchmark::State& state, std::int64_t operationsPerIteration) {
    state.SetItemsProcessed(state.iterations() * operationsPerIteration);
}

void insertInOrder(Map& map, std::size_t n, bool ascending) {
    for (std::size_t i = 0; i < n; ++i) {
        map.insert(presentKey(ascending ? i : n - 1 - i), &g_payload);
    }
}

void benchmarkInsertion(benchmark::State& state, const Contender& contender, std::size_t n,
                        bool ascending) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        state.ResumeTiming();
        insertInOrder(*map, n, ascending);
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    perOperation(state, static_cast<std::int64_t>(n));
}

// The filled map of the run in progress and its queries, kept while the
// library calls the same benchmark again to settle its iteration count.
struct Filled {
    std::string name;
    std::unique_ptr<Map> map;
    std::vector<int> queries;
    std::size_t next = 0;  // the next query, or the next FIFO step
};

Filled g_filled;

enum class Fill { ascending, random };

Filled& filled(const std::string& name, const Contender& contender, std::size_t n, Fill fill) {
    if (g_filled.name == name) {
        return g_filled;
    }
    g_filled = Filled{};
    g_filled.map = contender.make();
    std::mt19937_64 generator(kWorkloadSeed);
    if (fill == Fill::random && !(contender.quadraticFill && n > kLargestRandomArrayFill)) {
        for (int key : shuffledKeys(n, generator)) {
            g_filled.map->insert(key, &g_payload);
        }
    } else {
        insertInOrder(*g_filled.map, n, true);
    }
    g_filled.name = name;
    return g_filled;
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

// Finds of a ring of queries drawn once per run by `draw`, from the
// generator seeded with kWorkloadSeed + `stream`.
void benchmarkQueries(benchmark::State& state, const std::string& name, const Contender& contender,
                      std::size_t n, std::uint64_t stream,
                      std::vector<int> (*draw)(std::size_t, std::mt19937_64&)) {
    Filled& live = filled(name, contender, n, Fill::random);
    if (live.queries.empty()) {
        std::mt19937_64 generator(kWorkloadSeed + stream);
        live.queries = draw(n, generator);
    }
    runQueries(state, live);
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

// The window holds presentKey(first) .. presentKey(first + n - 1).
void benchmarkFifo(benchmark::State& state, const std::string& name, const Contender& contender,
                   std::size_t n) {
    Filled& live = filled(name, contender, n, Fill::ascending);
    Map& map = *live.map;
    std::size_t first = live.next;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            map.insert(presentKey(first + n), &g_payload);
            map.erase(presentKey(first));
            ++first;
        }
    }
    live.next = first;
    perOperation(state, kBatch);
}

struct Workload {
    const char* name;
    void (*run)(benchmark::State&, const std::string&, const Contender&, std::size_t);
    std::size_t largestArray;  // sorted arrays stop above this size
};

void ascendingInsert(benchmark::State& state, const std::string&, const Contender& contender,
                     std::size_t n) {
    benchmarkInsertion(state, contender, n, true);
}

void descendingInsert(benchmark::State& state, const std::string&, const Contender& contender,
                      std::size_t n) {
    benchmarkInsertion(state, contender, n, false);
}

const Workload kWorkloads[] = {
    {"ascending_insert", ascendingInsert, 10000000},
    {"ascending_find", benchmarkAscendingFind, 10000000},
    {"descending_insert", descendingInsert, 100000},
    {"zipf_find", benchmarkZipfFind, 10000000},
    {"miss_find", benchmarkMissFind, 10000000},
    {"fifo", benchmarkFifo, 1000000},
};

void registerAll(const std::vector<int>& sizes, Progress& progress) {
    for (const Workload& workload : kWorkloads) {
        for (const Contender& contender : contenders()) {
            if (contender.name == "floor") {
                continue;
            }
            for (int size : sizes) {
                const std::size_t n = static_cast<std::size_t>(size);
                if (contender.quadraticFill && n > workload.largestArray) {
                    continue;
                }
                const std::string name =
                    std::string(workload.name) + "/" + contender.name + "/" + std::to_string(n);
                progress.add(name);
                const auto run = workload.run;
                benchmark::RegisterBenchmark(name.c_str(), [&progress, name, run, &contender,
                                                            n](benchmark::State& state) {
                    progress.starting(name);
                    run(state, name, contender, n);
                })->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> sizes = takeSizes(argc, argv, {1000, 10000, 100000, 1000000, 10000000});
    static Progress progress(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::AddCustomContext("peers", peerTable());
    benchmark::AddCustomContext("key_generator",
                                "std::mt19937_64, seed " + std::to_string(kWorkloadSeed));
    registerAll(sizes, progress);
    progress.begin();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
