// The driver's four phases (fill, find, empty, mix), keys drawn from the
// platform generator exactly as the driver draws them, timed with Google
// Benchmark on our maps and on the containers a user would pick instead.
// Every map is reached through Map*.
//
// Extra flag: --sizes=1000,10000 (record counts; default 1e3 to 1e6).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "heap_counter.h"
#include "map_kinds.h"
#include "peer_maps.h"
#include "timing_driver.h"

namespace {

constexpr int kBatch = 1000;  // operations per timed iteration of find and mix
constexpr int kSeed = 56789;  // the driver's default seed

struct Contender {
    std::string name;
    std::function<std::unique_ptr<Map>()> make;
    int largestSize;  // sorted vectors fill in quadratic time
};

std::vector<Contender> contenders() {
    const int any = 1 << 30;
    std::vector<Contender> all;
    for (const MapVariant& variant : mapVariants({3, 4, 8, 16, 32, 64, 128, 256})) {
        all.push_back({variant.label(), [variant] { return variant.make(); },
                       variant.kind->quadraticFill ? 100000 : any});
    }
    all.push_back({"sorted_vector", makeSortedVectorPeer, 100000});
    all.push_back({"std_map", makeStdMapPeer, any});
    all.push_back({"std_unordered_map", makeUnorderedMapPeer, any});
    if (makeAbslBtreePeer() != nullptr) {
        all.push_back({"absl_btree_map", makeAbslBtreePeer, any});
    }
    all.push_back({"floor", makeFloorPeer, any});
    return all;
}

// The driver's records: successive rand() values after seeding.
std::unique_ptr<IntegerData[]> driverRecords(int n) {
    std::srand(kSeed);
    return generateRandomData(n);
}

void fill(Map& map, IntegerData* records, int n) {
    for (int i = 0; i < n; ++i) {
        map.insert(records[i].value, &records[i]);
    }
}

void empty(Map& map, IntegerData* records, int n) {
    for (int i = 0; i < n; ++i) {
        map.erase(records[i].value);
    }
}

void finds(Map& map, IntegerData* records, int n, int count) {
    for (int i = 0; i < count; ++i) {
        const int k = std::rand() % n;
        benchmark::DoNotOptimize(map.find(records[k].value));
    }
}

void mix(Map& map, IntegerData* records, int n, int count) {
    for (int i = 0; i < count; ++i) {
        const int k = std::rand() % n;
        const int coin = std::rand();
        if (coin % 2 == 1) {
            benchmark::DoNotOptimize(map.erase(records[k].value));
        } else {
            benchmark::DoNotOptimize(map.insert(records[k].value, &records[k]));
        }
    }
}

void reportPerOperation(benchmark::State& state, int operationsPerIteration) {
    state.SetItemsProcessed(state.iterations() * operationsPerIteration);
}

// Heap bytes per held entry right after the fill.
double bytesPerEntry(const Contender& contender, IntegerData* records, int n) {
    const std::size_t before = liveHeapBytes();
    std::unique_ptr<Map> map = contender.make();
    fill(*map, records, n);
    const int held = map->size();
    return held > 0 ? static_cast<double>(liveHeapBytes() - before) / held : 0.0;
}

void benchmarkFill(benchmark::State& state, const Contender& contender, int n) {
    auto records = driverRecords(n);
    state.counters["bytes_per_entry"] = bytesPerEntry(contender, records.get(), n);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        state.ResumeTiming();
        fill(*map, records.get(), n);
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    reportPerOperation(state, n);
}

void benchmarkFind(benchmark::State& state, const Contender& contender, int n) {
    auto records = driverRecords(n);
    std::unique_ptr<Map> map = contender.make();
    fill(*map, records.get(), n);
    for (auto _ : state) {
        finds(*map, records.get(), n, kBatch);
    }
    reportPerOperation(state, kBatch);
}

void benchmarkEmpty(benchmark::State& state, const Contender& contender, int n) {
    auto records = driverRecords(n);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        fill(*map, records.get(), n);
        state.ResumeTiming();
        empty(*map, records.get(), n);
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    reportPerOperation(state, n);
}

// Starts, like the driver, from an emptied map, and first runs one round of
// n untimed operations so that the timed batches see the steady state.
void benchmarkMix(benchmark::State& state, const Contender& contender, int n) {
    auto records = driverRecords(n);
    std::unique_ptr<Map> map = contender.make();
    mix(*map, records.get(), n, n);
    for (auto _ : state) {
        mix(*map, records.get(), n, kBatch);
    }
    reportPerOperation(state, kBatch);
}

// Takes --sizes=a,b,c out of the arguments; without it, 1e3 to 1e6.
std::vector<int> sizesFrom(int& argc, char** argv) {
    std::vector<int> sizes = {1000, 10000, 100000, 1000000};
    const std::string prefix = "--sizes=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.compare(0, prefix.size(), prefix) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        sizes.clear();
        std::istringstream list(argument.substr(prefix.size()));
        for (std::string size; std::getline(list, size, ',');) {
            sizes.push_back(std::atoi(size.c_str()));
        }
    }
    argc = kept;
    argv[kept] = nullptr;
    return sizes;
}

using Phase = void (*)(benchmark::State&, const Contender&, int);

void registerAll(const std::vector<int>& sizes) {
    static const std::vector<Contender> all = contenders();
    const std::pair<const char*, Phase> phases[] = {{"fill", benchmarkFill},
                                                    {"find", benchmarkFind},
                                                    {"empty", benchmarkEmpty},
                                                    {"mix", benchmarkMix}};
    for (const auto& [phaseName, phase] : phases) {
        for (const Contender& contender : all) {
            for (int n : sizes) {
                if (n < 1 || n > contender.largestSize) {
                    continue;
                }
                const std::string name =
                    std::string(phaseName) + "/" + contender.name + "/" + std::to_string(n);
                benchmark::RegisterBenchmark(name.c_str(), phase, std::cref(contender), n)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> sizes = sizesFrom(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerAll(sizes);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
