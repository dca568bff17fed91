// Where the slow operations' time goes: our maps built to count their
// structural steps (B-tree splits, borrows and merges, AVL rotations,
// replacements and slab growth, entries a sorted array moves), each call of
// the program's fill and mix timed as map_latency times it, and each call's
// steps noted beside its time. For each step: the share of all calls that
// took it, of the slowest 1 % and of the slowest 0.1 % that did, the median
// time of the calls that took it, and the mean count per call among all and
// among the slowest 1 %; the same shares for the calls that took no step;
// and the minor page faults from the first timed call on (the records of
// a fresh map for the next fill included). The counting costs a few
// additions per step, so the times here are close to, not the same as, map_latency's.
//
// Flags: --sizes=10000,1000000 (record counts, the default), --operations=N
// (timed calls per run, default 1000000). Sorted arrays run up to 1e5, as in
// map_latency. Writes one JSON document.
#include "step_counts.h"

#include <sys/resource.h>

#include <algorithm>
#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "constants.h"
#include "cycle_clock.h"
#include "declared_heap.h"
#include "driver_session.h"
#include "json_writer.h"
#include "run_plan.h"

namespace {

struct Event {
    const char* name;
    std::uint64_t MapEvents::*count;
};

const Event kEvents[] = {
    {"split", &MapEvents::splits},
    {"borrow", &MapEvents::borrows},
    {"merge", &MapEvents::merges},
    {"rotation", &MapEvents::rotations},
    {"replacement", &MapEvents::replacements},
    {"slab", &MapEvents::slabs},
    {"moved", &MapEvents::moved},
};
constexpr std::size_t kEventCount = sizeof(kEvents) / sizeof(kEvents[0]);

// One timed call: its ticks and what each event's count grew by.
struct Call {
    std::uint64_t ticks;
    std::uint64_t grew[kEventCount];
};

class Recorder {
public:
    // The calls' room is written once before any is timed, so that no
    // page of it faults in during the run.
    explicit Recorder(std::size_t calls) : m_calls(calls) {}

    template <typename MapCall>
    void operator()(MapCall&& call) {
        if (full()) {  // a fill that ends past the wanted calls
            call();
            return;
        }
        if (m_recorded == 0) {
            m_faultsBefore = minorFaults();
        }
        const MapEvents before = mapEvents();
        Call timed{ticksOf(call), {}};
        for (std::size_t i = 0; i < kEventCount; ++i) {
            timed.grew[i] = mapEvents().*kEvents[i].count - before.*kEvents[i].count;
        }
        m_calls[m_recorded++] = timed;
    }

    const std::vector<Call>& calls() const { return m_calls; }
    // Minor page faults from the first timed call on.
    long faults() const { return minorFaults() - m_faultsBefore; }
    std::size_t wanted() const { return m_calls.size(); }
    bool full() const { return m_recorded == m_calls.size(); }

private:
    static long minorFaults() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_minflt;
    }

    std::vector<Call> m_calls;
    std::size_t m_recorded = 0;
    long m_faultsBefore = 0;
};

// Of calls[from ..], the share for which `took` holds.
template <typename Took>
double shareFrom(const std::vector<Call>& calls, std::size_t from, Took took) {
    const auto count =
        std::count_if(calls.begin() + static_cast<std::ptrdiff_t>(from), calls.end(), took);
    return static_cast<double>(count) / static_cast<double>(calls.size() - from);
}

// The median ticks of the calls for which `took` holds (calls sorted by
// their ticks), or 0 when there are none.
template <typename Took>
std::uint64_t medianOf(const std::vector<Call>& calls, Took took) {
    std::vector<std::uint64_t> ticks;
    for (const Call& call : calls) {
        if (took(call)) {
            ticks.push_back(call.ticks);
        }
    }
    return ticks.empty() ? 0 : ticks[ticks.size() / 2];
}

// The first of the slowest `fraction` of the sorted calls (at least one).
std::size_t slowestFrom(const std::vector<Call>& calls, std::size_t fraction) {
    return calls.size() - std::max<std::size_t>(1, calls.size() / fraction);
}

// For each step the maps took (and for calls that took none): its share of
// all calls, of the slowest 1 % and of the slowest 0.1 %, the median time
// of the calls that took it, and its mean count per call and per slow call;
// members of the object being written.
void writeShares(JsonWriter& json, std::vector<Call> calls, double ticksPerNs) {
    std::sort(calls.begin(), calls.end(),
              [](const Call& a, const Call& b) { return a.ticks < b.ticks; });
    const std::size_t slow = slowestFrom(calls, 100);
    const std::size_t slowest = slowestFrom(calls, 1000);
    const auto ns = [ticksPerNs](std::uint64_t ticks) {
        return static_cast<double>(ticks) / ticksPerNs;
    };
    json.member("calls", calls.size())
        .member("p50", ns(calls[calls.size() / 2].ticks))
        .member("p99", ns(calls[slow - 1].ticks))
        .key("events")
        .beginObject();
    const auto writeStep = [&](const char* name, auto took) {
        json.key(name)
            .beginObject()
            .member("share", shareFrom(calls, 0, took))
            .member("slow_share", shareFrom(calls, slow, took))
            .member("tail_share", shareFrom(calls, slowest, took))
            .member("p50", ns(medianOf(calls, took)));
    };
    for (std::size_t e = 0; e < kEventCount; ++e) {
        const auto took = [e](const Call& call) { return call.grew[e] > 0; };
        if (std::none_of(calls.begin(), calls.end(), took)) {
            continue;
        }
        const auto mean = [e, &calls](std::size_t from) {
            double total = 0;
            for (std::size_t i = from; i < calls.size(); ++i) {
                total += static_cast<double>(calls[i].grew[e]);
            }
            return total / static_cast<double>(calls.size() - from);
        };
        writeStep(kEvents[e].name, took);
        json.member("mean", mean(0)).member("slow_mean", mean(slow)).endObject();
    }
    writeStep("none", [](const Call& call) {
        return std::all_of(std::begin(call.grew), std::end(call.grew),
                           [](std::uint64_t grew) { return grew == 0; });
    });
    json.endObject().endObject();
}

// Fresh maps filled until the run has its calls, as map_latency fills them.
void fillCalls(const Contender& contender, int n, Recorder& record) {
    while (!record.full()) {
        std::unique_ptr<Map> map = contender.make();
        DriverSession(*map, n).fillEach(record);
    }
}

void mixCalls(const Contender& contender, int n, Recorder& record) {
    std::unique_ptr<Map> map = contender.make();
    DriverSession session(*map, n);
    session.startMix();
    session.mixEach(static_cast<int>(record.wanted()), record);
}

using Workload = void (*)(const Contender&, int n, Recorder&);

int eventsMain(int argc, char** argv) {
    const CommandLine flags(
        "map_events", argc, argv,
        {{"--sizes", true, "record counts (default 10000,1000000)"},
         {"--operations", true, "timed calls per run, 1 to 2147483647 (default 1000000)"}});
    const auto operations =
        static_cast<std::size_t>(flags.number("--operations", 1, INT_MAX, 1000000));
    // Sorted arrays run up to 1e5, as in map_latency.
    const std::vector<SuiteInfo> suites = {
        {"fill", "operation", kLargestRandomArrayFill, "each insertion of the program's fill"},
        {"mix", "operation", kLargestRandomArrayFill, "each call of the program's mix"}};
    const Workload workloads[] = {fillCalls, mixCalls};
    const std::vector<int> sizes = flags.sizes(kLatencySizes);
    const DeclaredHeap heap(
        latencyReserve(static_cast<std::size_t>(*std::max_element(sizes.begin(), sizes.end()))));
    const double ticksPerNs = calibrateTicksPerNs(50);
    JsonWriter json(std::cout);
    json.beginObject()
        .member("program", "map_events")
        .member("ticks_per_ns", ticksPerNs)
        .key("runs")
        .beginArray();
    for (const PlannedRun& planned :
         planRuns(suites, workloadContenders(), sizes, RunChoice{{}, {}, true})) {
        std::cerr << planned.name() << std::endl;
        heap.restore();
        Recorder record(operations);
        workloads[planned.suiteIndex](*planned.contender, static_cast<int>(planned.n), record);
        json.beginObject().member("name", planned.name()).member("page_faults", record.faults());
        writeShares(json, record.calls(), ticksPerNs);
        json.endObject();
    }
    json.endArray().endObject();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!kCountEvents) {
        std::cerr << "map_events: built without MAPBENCH_COUNT_EVENTS" << std::endl;
        return 2;
    }
    return runProgram("map_events", [&] { return eventsMain(argc, argv); });
}
