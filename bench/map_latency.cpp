// What one operation costs: every map call of a measured run timed on its
// own with the processor's time-stamp counter and recorded in a log-bucketed
// histogram, from which come the percentiles from p50 to p99.99 and the
// maximum. These are runs of their own; the timed suites of the other bench
// programs are left as they are.
//
//   fill_latency               the program's fill: its records inserted into
//                              an empty map, again on a fresh map until the
//                              run has its operations
//   find_latency               the program's random finds on the filled map
//   mix_latency                the program's mix on the emptied map, after n
//                              untimed steps
//   ascending_insert_latency   keys 0, 2, 4, ... inserted in ascending order,
//   descending_insert_latency  or descending, into an empty map (again on a
//                              fresh map until the run has its operations)
//   fifo_latency               a window of n keys: insert a key above all,
//                              erase the smallest, each call timed
//
// Only the map call runs between the two readings: the draws come before.
// The heap is grown once before the first run and kept (warm_heap.h), so
// that no run pays page faults another would not.
// The timer's own cost, two readings around nothing, is measured in the same
// process and written beside the runs.
//
// Flags: --list (what it runs, as JSON), --sizes=10000,1000000 (default),
// --maps=A,B and --suites=A,B (exact names; default all), --operations=N
// (timed calls per run, default 1000000, at most 1e9), --shuffle=K (the
// runs in an order drawn from K; without it, in the listed order). Writes one JSON
// document to standard output and a line per run to standard error.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_common.h"
#include "cycle_clock.h"
#include "driver_session.h"
#include "log_histogram.h"
#include "warm_heap.h"
#include "workloads.h"

namespace {

// The percentiles written for every run; the report's tables and figures
// take theirs from these.
const std::vector<double> kPercentiles = {50, 75, 90, 95, 99, 99.5, 99.9, 99.95, 99.99};

IntegerData g_payload(1);
// The find and mix loops count their calls in an int.
constexpr unsigned long long kMostOperations = 1000000000;

struct Run {
    const Contender& contender;
    std::size_t n;
    std::uint64_t operations;
    LogHistogram& histogram;

    // Times one map call.
    template <typename Call>
    void time(Call&& call) {
        histogram.record(ticksOf(call));
    }
};

// Fresh maps, each filled by `fill`, until the run has its operations.
template <typename Fill>
void onFreshMaps(Run& run, Fill&& fill) {
    while (run.histogram.count() < run.operations) {
        std::unique_ptr<Map> map = run.contender.make();
        fill(*map);
    }
}

void fillLatency(Run& run) {
    const int n = static_cast<int>(run.n);
    onFreshMaps(run, [&run, n](Map& map) {
        DriverSession session(map, n);
        session.fillEach([&run](auto call) { run.time(call); });
    });
}

void findLatency(Run& run) {
    std::unique_ptr<Map> map = run.contender.make();
    DriverSession session(*map, static_cast<int>(run.n));
    session.fill();
    session.findsEach(static_cast<int>(run.operations), [&run](auto call) { run.time(call); });
}

void mixLatency(Run& run) {
    std::unique_ptr<Map> map = run.contender.make();
    DriverSession session(*map, static_cast<int>(run.n));
    session.startMix();
    session.mixEach(static_cast<int>(run.operations), [&run](auto call) { run.time(call); });
}

void insertInOrder(Run& run, bool ascending) {
    const std::size_t n = run.n;
    onFreshMaps(run, [&run, n, ascending](Map& map) {
        for (std::size_t i = 0; i < n; ++i) {
            const int key = presentKey(ascending ? i : n - 1 - i);
            run.time([&map, key] { map.insert(key, &g_payload); });
        }
    });
}

void ascendingInsertLatency(Run& run) {
    insertInOrder(run, true);
}

void descendingInsertLatency(Run& run) {
    insertInOrder(run, false);
}

// The window holds presentKey(first) .. presentKey(first + n - 1).
void fifoLatency(Run& run) {
    std::unique_ptr<Map> map = run.contender.make();
    Map& window = *map;
    for (std::size_t i = 0; i < run.n; ++i) {
        window.insert(presentKey(i), &g_payload);
    }
    for (std::size_t first = 0; run.histogram.count() < run.operations; ++first) {
        const int newest = presentKey(first + run.n);
        const int oldest = presentKey(first);
        run.time([&window, newest] { window.insert(newest, &g_payload); });
        run.time([&window, oldest] { window.erase(oldest); });
    }
}

struct LatencySuite {
    SuiteInfo info;
    void (*run)(Run&);
};

std::vector<LatencySuite> latencySuites() {
    // Sorted arrays stop at 1e5: each of their insertions and erasures moves
    // half the array, and one run at 1e6 would take many minutes.
    const std::size_t arrays = kLargestRandomArrayFill;
    const auto suite = [arrays](const char* name, const char* description, void (*run)(Run&)) {
        return LatencySuite{{name, "operation", arrays, description}, run};
    };
    return {
        suite("fill_latency", "each insertion of the program's fill", fillLatency),
        suite("find_latency", "each of the program's random finds on the filled map", findLatency),
        suite("mix_latency", "each insertion or erasure of the program's mix", mixLatency),
        suite("ascending_insert_latency", "each insertion of keys in ascending order",
              ascendingInsertLatency),
        suite("descending_insert_latency", "each insertion of keys in descending order",
              descendingInsertLatency),
        suite("fifo_latency", "each insertion and erasure of the FIFO window", fifoLatency),
    };
}

struct Options {
    std::vector<int> sizes;
    std::vector<std::string> maps;
    std::vector<std::string> suites;
    std::uint64_t operations = 1000000;
    unsigned shuffle = 0;
};

bool chosen(const std::vector<std::string>& names, const std::string& name) {
    return names.empty() || std::find(names.begin(), names.end(), name) != names.end();
}

std::uint64_t positiveNumber(const std::string& flag, const std::string& text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || text[0] == '-' || value == 0 || value > kMostOperations) {
        std::fprintf(stderr, "map_latency: %s takes a number from 1 to 1e9, not '%s'\n",
                     flag.c_str(), text.c_str());
        std::exit(2);
    }
    return value;
}

// A histogram's figures in ns, as JSON members.
void writeFigures(std::ostream& out, const LogHistogram& histogram, double ticksPerNs) {
    out << "\"percentiles\": {";
    for (std::size_t i = 0; i < kPercentiles.size(); ++i) {
        out << (i ? ", " : "") << "\"" << kPercentiles[i]
            << "\": " << histogram.percentile(kPercentiles[i]) / ticksPerNs;
    }
    out << "}, \"min\": " << static_cast<double>(histogram.min()) / ticksPerNs
        << ", \"max\": " << static_cast<double>(histogram.max()) / ticksPerNs;
}

// Two readings around nothing, as many times as a run times its calls.
LogHistogram timerCost(std::uint64_t operations) {
    LogHistogram histogram;
    for (std::uint64_t i = 0; i < operations; ++i) {
        histogram.record(ticksOf([] {}));
    }
    return histogram;
}

struct Planned {
    const LatencySuite* suite;
    const Contender* contender;
    std::size_t n;
};

std::vector<Planned> plan(const std::vector<LatencySuite>& suites, const Options& options) {
    std::vector<Planned> runs;
    for (const LatencySuite& suite : suites) {
        for (const Contender& contender : workloadContenders()) {
            for (int size : options.sizes) {
                const auto n = static_cast<std::size_t>(size);
                if (chosen(options.suites, suite.info.name) &&
                    chosen(options.maps, contender.name) && runsAt(suite.info, contender, n)) {
                    runs.push_back({&suite, &contender, n});
                }
            }
        }
    }
    if (options.shuffle != 0) {
        std::shuffle(runs.begin(), runs.end(), std::mt19937_64(options.shuffle));
    }
    return runs;
}

void measure(const std::vector<Planned>& runs, const Options& options) {
    warmHeap(kWarmHeapBytes);
    const double ticksPerNs = calibrateTicksPerNs(200);
    std::cout << "{\"program\": \"map_latency\", \"ticks_per_ns\": " << ticksPerNs
              << ", \"invariant_tsc\": " << (invariantTimeStampCounter() ? "true" : "false")
              << ", \"operations\": " << options.operations << ",\n \"timer\": {";
    writeFigures(std::cout, timerCost(options.operations), ticksPerNs);
    std::cout << "},\n \"runs\": [";
    LogHistogram histogram;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Planned& planned = runs[i];
        const std::string name = planned.suite->info.name + "/" + planned.contender->name + "/" +
                                 std::to_string(planned.n);
        std::cerr << "[" << i + 1 << "/" << runs.size() << "] " << name << std::endl;
        histogram.clear();
        Run run{*planned.contender, planned.n, options.operations, histogram};
        planned.suite->run(run);
        std::cout << (i ? ",\n  " : "\n  ") << "{\"name\": \"" << name
                  << "\", \"operations\": " << histogram.count() << ", ";
        writeFigures(std::cout, histogram, ticksPerNs);
        std::cout << "}";
    }
    std::cout << "]}" << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<LatencySuite> suites = latencySuites();
    BenchList list;
    list.program = "map_latency";
    list.defaultSizes = kLatencySizes;
    list.contenders = &workloadContenders();
    for (const LatencySuite& suite : suites) {
        list.suites.push_back(suite.info);
    }
    if (takeListFlag(argc, argv)) {
        writeList(std::cout, list);
        return 0;
    }
    Options options;
    options.sizes = takeSizes(argc, argv, list.defaultSizes);
    std::string value;
    if (takeOption(argc, argv, "--maps=", value)) {
        options.maps = splitList(value);
    }
    if (takeOption(argc, argv, "--suites=", value)) {
        options.suites = splitList(value);
    }
    if (takeOption(argc, argv, "--operations=", value)) {
        options.operations = positiveNumber("--operations", value);
    }
    if (takeOption(argc, argv, "--shuffle=", value)) {
        options.shuffle = static_cast<unsigned>(positiveNumber("--shuffle", value));
    }
    if (argc > 1) {
        std::fprintf(stderr, "map_latency: unknown argument '%s'\n", argv[1]);
        return 2;
    }
    measure(plan(suites, options), options);
    return 0;
}
