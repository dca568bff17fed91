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
//   core_a_latency .. core_e   the core workloads (mix_recipe.h) on the map
//                              filled in random order, each call counted
//                              under its operation too (by_operation)
//
// Only the map call runs between the two readings: the draws come before.
// Every run starts from the declared heap (declared_heap.h): touched pages
// enough for the largest map, so that no run pays page faults another
// would not.
// The timer's own cost, two readings around nothing, is measured in the same
// process and written beside the runs.
//
// Flags: --list (what it runs, as JSON), --sizes=10000,1000000 (default),
// --maps=A,B and --suites=A,B (exact names; default all), --operations=N
// (timed calls per run, default 1000000, at most 1e9), --shuffle=K (the
// runs in an order drawn from K; without it, in the listed order),
// --share-fills (the core workloads of a map on one fill). Writes one JSON
// document to standard output and a line per run to standard error.
#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "command_line.h"
#include "constants.h"
#include "cycle_clock.h"
#include "declared_heap.h"
#include "driver_session.h"
#include "heap_shift.h"
#include "json_writer.h"
#include "log_histogram.h"
#include "machine_load.h"
#include "mix_run.h"
#include "run_plan.h"
#include "workload_steps.h"

namespace {

// The percentiles written for every run; the report's tables and figures
// take theirs from these.
const std::vector<double> kPercentiles = {50, 75, 90, 95, 99, 99.5, 99.9, 99.95, 99.99};

IntegerData g_payload(1);
// The find and mix loops count their calls in an int.
constexpr long long kMostOperations = 1000000000;

struct Run {
    const Contender& contender;
    std::size_t n;
    std::uint64_t operations;
    LogHistogram& histogram;
    // A mix's calls, by operation too; empty for the other runs.
    std::vector<LogHistogram>& byOperation;

    // Times one map call.
    template <typename Call>
    void operator()(Call&& call) {
        histogram.record(ticksOf(call));
    }
    // Times one call of a mix, counted under its operation too.
    template <typename Call>
    void operator()(MixOperation operation, Call&& call) {
        const std::uint64_t ticks = ticksOf(call);
        histogram.record(ticks);
        byOperation[static_cast<std::size_t>(operation)].record(ticks);
    }
    bool done() const { return histogram.count() >= operations; }
};

// Fresh maps, each filled by `fill`, until the run has its operations.
template <typename Fill>
void onFreshMaps(Run& run, Fill&& fill) {
    while (!run.done()) {
        std::unique_ptr<Map> map = run.contender.make();
        fill(*map);
    }
}

void fillLatency(Run& run) {
    const int n = static_cast<int>(run.n);
    onFreshMaps(run, [&run, n](Map& map) { DriverSession(map, n).fillEach(run); });
}

void findLatency(Run& run) {
    std::unique_ptr<Map> map = run.contender.make();
    DriverSession session(*map, static_cast<int>(run.n));
    session.fill();
    session.findsEach(static_cast<int>(run.operations), run);
}

void mixLatency(Run& run) {
    std::unique_ptr<Map> map = run.contender.make();
    DriverSession session(*map, static_cast<int>(run.n));
    session.startMix();
    session.mixEach(static_cast<int>(run.operations), run);
}

void insertionLatency(Run& run, KeyOrder order) {
    onFreshMaps(run,
                [&run, order](Map& map) { insertInOrder(map, run.n, order, &g_payload, run); });
}

void ascendingInsertLatency(Run& run) {
    insertionLatency(run, KeyOrder::ascending);
}

void descendingInsertLatency(Run& run) {
    insertionLatency(run, KeyOrder::descending);
}

void fifoLatency(Run& run) {
    std::unique_ptr<Map> map = run.contender.make();
    insertInOrder(*map, run.n, KeyOrder::ascending, &g_payload, RunNow{});
    FifoWindow window(*map, run.n, &g_payload);
    while (!run.done()) {
        window.step(run);
    }
}

// The map of the n present keys filled in random order, for a core
// workload; with --share-fills one for all the core workloads of a map, kept
// to the end of the process (they run in list order, those that insert last).
bool g_shareFills = false;

std::unique_ptr<Map> randomFill(const Contender& contender, std::size_t n) {
    std::unique_ptr<Map> map = contender.make();
    std::mt19937_64 generator(kWorkloadSeed);
    for (const int key : shuffledKeys(n, generator)) {
        map->insert(key, &g_payload);
    }
    return map;
}

Map& mixFill(const Contender& contender, std::size_t n, std::unique_ptr<Map>& own) {
    static std::map<std::string, std::unique_ptr<Map>> kept;
    if (!g_shareFills) {
        own = randomFill(contender, n);
        return *own;
    }
    std::unique_ptr<Map>& shared = kept[contender.name + "/" + std::to_string(n)];
    if (!shared) {
        shared = randomFill(contender, n);
    }
    return *shared;
}

// A core workload's calls on the map filled in random order, its steps
// drawn before the first reading.
void mixLatency(Run& run, const MixRecipe& recipe, std::uint64_t stream) {
    std::unique_ptr<Map> own;
    Map& map = mixFill(run.contender, run.n, own);
    std::mt19937_64 steps(kWorkloadSeed + stream);
    const std::vector<MixStep> drawn = mixSteps(recipe, run.n, steps);
    MixRun mix(map, run.n, recipe, drawn.data(), &g_payload, run.contender.scan);
    while (!run.done()) {
        mix.step(run);
        if (mix.drifted()) {
            mix.restore();  // untimed: only the steps' calls are
        }
    }
    mix.restore();
}

struct LatencySuite {
    SuiteInfo info;
    std::function<void(Run&)> run;
};

std::vector<LatencySuite> latencySuites() {
    // Sorted arrays stop at 1e5: each of their insertions and erasures moves
    // half the array, and one run at 1e6 would take many minutes.
    const auto suite = [](const char* name, const char* description,
                          void (*run)(Run&)) -> LatencySuite {
        return LatencySuite{{name, "operation", kLargestRandomArrayFill, description}, run};
    };
    std::vector<LatencySuite> suites = {
        suite("fill_latency", "each insertion of the program's fill", fillLatency),
        suite("find_latency", "each of the program's random finds on the filled map", findLatency),
        suite("mix_latency", "each insertion or erasure of the program's mix", mixLatency),
        suite("ascending_insert_latency", "each insertion of keys in ascending order",
              ascendingInsertLatency),
        suite("descending_insert_latency", "each insertion of keys in descending order",
              descendingInsertLatency),
        suite("fifo_latency", "each insertion and erasure of the FIFO window", fifoLatency),
    };
    // The core workloads, each call also counted under its operation; the
    // same steps as the timed suites draw (their streams).
    std::uint64_t stream = 10;
    for (const CoreWorkload& workload : coreWorkloads()) {
        const MixRecipe recipe = parseMix(workload.recipe);
        SuiteInfo info{std::string(workload.suite) + "_latency", "operation",
                       kLargestRandomArrayFill,
                       std::string("each call of ") + workload.suite + ": " + workload.description,
                       recipe.share(MixOperation::scan) > 0};
        info.sharedFill = "random";
        suites.push_back(
            {std::move(info), [recipe, stream](Run& run) { mixLatency(run, recipe, stream); }});
        ++stream;
    }
    return suites;
}

// A histogram's figures in ns, as members of the object being written.
void writeFigures(JsonWriter& json, const LogHistogram& histogram, double ticksPerNs) {
    json.key("percentiles").beginObject();
    for (const double percentile : kPercentiles) {
        json.member(JsonWriter::number(percentile), histogram.percentile(percentile) / ticksPerNs);
    }
    json.endObject()
        .member("min", static_cast<double>(histogram.min()) / ticksPerNs)
        .member("max", static_cast<double>(histogram.max()) / ticksPerNs);
}

// What else the machine did during a run. An interrupt or a switch to another
// task lands in at most one timed call, so their count over the calls bounds
// the share of calls the machine could have slowed (interrupts of every CPU,
// so an upper bound).
void writeInterference(JsonWriter& json, const Interference& seen) {
    json.key("machine")
        .beginObject()
        .member("seconds", seen.seconds)
        .member("steal", seen.steal)
        .member("others", seen.others)
        .member("interrupts", seen.interrupts)
        .member("involuntary_switches", seen.involuntarySwitches)
        .member("page_faults", seen.pageFaults)
        .member("load", seen.load)
        .endObject();
}

// A mix's calls by operation, for the operations it ran: "by_operation":
// {"find": {"calls": ..., "percentiles": ..., "min": ..., "max": ...}}.
void writeByOperation(JsonWriter& json, const std::vector<LogHistogram>& byOperation,
                      double ticksPerNs) {
    if (std::all_of(byOperation.begin(), byOperation.end(),
                    [](const LogHistogram& counted) { return counted.count() == 0; })) {
        return;
    }
    json.key("by_operation").beginObject();
    for (std::size_t op = 0; op < byOperation.size(); ++op) {
        if (byOperation[op].count() > 0) {
            json.key(operationName(static_cast<MixOperation>(op)))
                .beginObject()
                .member("calls", byOperation[op].count());
            writeFigures(json, byOperation[op], ticksPerNs);
            json.endObject();
        }
    }
    json.endObject();
}

// Two readings around nothing, as many times as a run times its calls.
LogHistogram timerCost(std::uint64_t operations) {
    LogHistogram histogram;
    for (std::uint64_t i = 0; i < operations; ++i) {
        histogram.record(ticksOf([] {}));
    }
    return histogram;
}

std::size_t largestSize(const std::vector<PlannedRun>& runs) {
    std::size_t largest = 0;
    for (const PlannedRun& run : runs) {
        largest = std::max(largest, run.n);
    }
    return largest;
}

void measure(const std::vector<LatencySuite>& suites, const std::vector<PlannedRun>& runs,
             std::uint64_t operations) {
    const DeclaredHeap heap(latencyReserve(largestSize(runs)));
    const double ticksPerNs = calibrateTicksPerNs(50);
    JsonWriter json(std::cout);
    json.beginObject()
        .member("program", "map_latency")
        .member("ticks_per_ns", ticksPerNs)
        .member("invariant_tsc", invariantTimeStampCounter())
        .member("operations", operations)
        .key("timer")
        .beginObject();
    writeFigures(json, timerCost(operations), ticksPerNs);
    json.endObject().key("runs").beginArray();
    LogHistogram histogram;
    std::vector<LogHistogram> byOperation(kMixOperations);
    HeapShift shift;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        heap.restore();
        shift.next();
        const PlannedRun& planned = runs[i];
        std::cerr << "[" << i + 1 << "/" << runs.size() << "] " << planned.name() << std::endl;
        histogram.clear();
        for (LogHistogram& counted : byOperation) {
            counted.clear();
        }
        Run run{*planned.contender, planned.n, operations, histogram, byOperation};
        const MachineSample before = MachineSample::now();
        suites[planned.suiteIndex].run(run);
        const Interference seen = Interference::between(before, MachineSample::now());
        json.beginObject().member("name", planned.name()).member("operations", histogram.count());
        writeFigures(json, histogram, ticksPerNs);
        writeInterference(json, seen);
        writeByOperation(json, byOperation, ticksPerNs);
        json.endObject();
    }
    json.endArray().endObject();
}

int latencyMain(int argc, char** argv) {
    const std::vector<LatencySuite> suites = latencySuites();
    BenchList list;
    list.program = "map_latency";
    list.defaultSizes = kLatencySizes;
    list.contenders = &workloadContenders();
    for (const LatencySuite& suite : suites) {
        list.suites.push_back(suite.info);
    }
    const CommandLine flags(
        "map_latency", argc, argv,
        {{"--list", false, "what it runs, as JSON"},
         {"--sizes", true, "record counts (default 10000,1000000)"},
         {"--maps", true, "map names, comma-separated (default all)"},
         {"--suites", true, "suite names, comma-separated (default all)"},
         {"--operations", true, "timed calls per run, 1 to 1e9 (default 1000000)"},
         {"--shuffle", true, "run in an order drawn from this seed (default: listed order)"},
         {"--share-fills", false,
          "the core workloads of a map share one fill, kept to the end: a run of one map, "
          "in list order"}});
    if (flags.has("--list")) {
        writeList(std::cout, list);
        return 0;
    }
    const auto operations =
        static_cast<std::uint64_t>(flags.number("--operations", 1, kMostOperations, 1000000));
    std::vector<PlannedRun> runs =
        planRuns(list.suites, *list.contenders, flags.sizes(list.defaultSizes),
                 RunChoice{flags.names("--maps"), flags.names("--suites")});
    const long long shuffle = flags.number("--shuffle", 1, kMostOperations, 0);
    g_shareFills = flags.has("--share-fills");
    if (g_shareFills && shuffle != 0) {
        throw FlagError("--share-fills runs in list order, which --shuffle would not keep");
    }
    if (shuffle != 0) {
        std::shuffle(runs.begin(), runs.end(), std::mt19937_64(static_cast<unsigned>(shuffle)));
    }
    measure(suites, runs, operations);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return runProgram("map_latency", [&] { return latencyMain(argc, argv); });
}
