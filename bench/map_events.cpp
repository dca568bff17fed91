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
//   map_events [--operations=N] [N ...]   record counts (default 10000 1000000)
//
// Sorted arrays run up to 1e5, as in map_latency. Writes one JSON document.
#include "map_events.h"

#include <sys/resource.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cycle_clock.h"
#include "driver_session.h"
#include "map_kinds.h"
#include "warm_heap.h"

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
// of the calls that took it, and its mean count per call and per slow call.
void writeShares(std::ostream& out, std::vector<Call> calls, double ticksPerNs) {
    std::sort(calls.begin(), calls.end(),
              [](const Call& a, const Call& b) { return a.ticks < b.ticks; });
    const std::size_t slow = slowestFrom(calls, 100);
    const std::size_t slowest = slowestFrom(calls, 1000);
    const auto ns = [ticksPerNs](std::uint64_t ticks) {
        return static_cast<double>(ticks) / ticksPerNs;
    };
    out << "\"calls\": " << calls.size() << ", \"p50\": " << ns(calls[calls.size() / 2].ticks)
        << ", \"p99\": " << ns(calls[slow - 1].ticks) << ", \"events\": {";
    const auto writeStep = [&](const char* name, auto took) {
        out << "\"" << name << "\": {\"share\": " << shareFrom(calls, 0, took)
            << ", \"slow_share\": " << shareFrom(calls, slow, took)
            << ", \"tail_share\": " << shareFrom(calls, slowest, took)
            << ", \"p50\": " << ns(medianOf(calls, took));
    };
    for (std::size_t e = 0; e < kEventCount; ++e) {
        const auto took = [e](const Call& call) { return call.grew[e] > 0; };
        if (std::none_of(calls.begin(), calls.end(), took)) {
            continue;
        }
        const auto sum = [e](std::size_t from, const std::vector<Call>& all) {
            double total = 0;
            for (std::size_t i = from; i < all.size(); ++i) {
                total += static_cast<double>(all[i].grew[e]);
            }
            return total / static_cast<double>(all.size() - from);
        };
        writeStep(kEvents[e].name, took);
        out << ", \"mean\": " << sum(0, calls) << ", \"slow_mean\": " << sum(slow, calls) << "}, ";
    }
    writeStep("none", [](const Call& call) {
        return std::all_of(std::begin(call.grew), std::end(call.grew),
                           [](std::uint64_t grew) { return grew == 0; });
    });
    out << "}}";
}

struct Workload {
    const char* name;
    void (*run)(const MapVariant&, int n, Recorder&);
};

// Fresh maps filled until the run has its calls, as map_latency fills them.
void fillCalls(const MapVariant& variant, int n, Recorder& record) {
    while (!record.full()) {
        std::unique_ptr<Map> map = variant.make();
        DriverSession session(*map, n);
        session.fillEach(record);
    }
}

void mixCalls(const MapVariant& variant, int n, Recorder& record) {
    std::unique_ptr<Map> map = variant.make();
    DriverSession session(*map, n);
    session.startMix();
    session.mixEach(static_cast<int>(record.wanted()), record);
}

const Workload kWorkloads[] = {{"fill", fillCalls}, {"mix", mixCalls}};

// A count from 1 to INT_MAX, or a message and exit 2.
int positiveCount(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > INT_MAX) {
        std::fprintf(stderr, "map_events: '%s' is not a positive count\n", text.c_str());
        std::exit(2);
    }
    return static_cast<int>(value);
}

}  // namespace

int main(int argc, char** argv) {
    if (!kCountEvents) {
        std::fprintf(stderr, "map_events: built without MAPBENCH_COUNT_EVENTS\n");
        return 2;
    }
    int operations = 1000000;
    std::vector<int> sizes;
    const std::string operationsFlag = "--operations=";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind(operationsFlag, 0) == 0) {
            operations = positiveCount(argument.substr(operationsFlag.size()));
        } else {
            sizes.push_back(positiveCount(argument));
        }
    }
    if (sizes.empty()) {
        sizes = kLatencySizes;
    }
    warmHeap(kWarmHeapBytes);
    const double ticksPerNs = calibrateTicksPerNs(200);
    std::cout << "{\"program\": \"map_events\", \"ticks_per_ns\": " << ticksPerNs
              << ", \"runs\": [";
    const char* separator = "\n  ";
    for (const Workload& workload : kWorkloads) {
        for (const MapVariant& variant : mapVariants(kWorkloadOrders)) {
            for (int n : sizes) {
                if (variant.kind->quadraticFill && n > static_cast<int>(kLargestRandomArrayFill)) {
                    continue;
                }
                const std::string name =
                    std::string(workload.name) + "/" + variant.label() + "/" + std::to_string(n);
                std::cerr << name << std::endl;
                Recorder record(static_cast<std::size_t>(operations));
                workload.run(variant, n, record);
                std::cout << separator << "{\"name\": \"" << name
                          << "\", \"page_faults\": " << record.faults() << ", ";
                writeShares(std::cout, record.calls(), ticksPerNs);
                std::cout << "}";
                separator = ",\n  ";
            }
        }
    }
    std::cout << "]}" << std::endl;
    return 0;
}
