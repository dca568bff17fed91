// Where the slow operations' time goes: our maps built to count their
// structural steps (B-tree splits, borrows and merges, AVL rotations,
// replacements and slab growth, entries a sorted array moves), each call of
// the program's fill and mix timed as map_latency times it, and each call's
// steps noted beside its time. For each step: the share of all calls that
// took it and the share of the slowest 1 % that did, and the mean count per
// call among all and among the slowest. The counting costs a few additions
// per step, so the times here are close to, not the same as, map_latency's.
//
//   map_events [--operations=N] [N ...]   record counts (default 10000 1000000)
//
// Sorted arrays run up to 1e5, as in map_latency. Writes one JSON document.
#include "map_events.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cycle_clock.h"
#include "driver_session.h"
#include "map_kinds.h"

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
    explicit Recorder(std::size_t calls) : m_wanted(calls) { m_calls.reserve(calls); }

    template <typename MapCall>
    void operator()(MapCall&& call) {
        const MapEvents before = mapEvents();
        const std::uint64_t start = cycleStart();
        call();
        const std::uint64_t stop = cycleStop();
        Call timed{stop - start, {}};
        for (std::size_t i = 0; i < kEventCount; ++i) {
            timed.grew[i] = mapEvents().*kEvents[i].count - before.*kEvents[i].count;
        }
        m_calls.push_back(timed);
    }

    const std::vector<Call>& calls() const { return m_calls; }
    std::size_t wanted() const { return m_wanted; }
    bool full() const { return m_calls.size() >= m_wanted; }

private:
    std::size_t m_wanted;
    std::vector<Call> m_calls;
};

// The events' shares among all calls and among those slower than p99.
void writeShares(std::ostream& out, std::vector<Call> calls, double ticksPerNs) {
    std::sort(calls.begin(), calls.end(),
              [](const Call& a, const Call& b) { return a.ticks < b.ticks; });
    const std::size_t slowFrom = calls.size() - calls.size() / 100;
    const auto ns = [ticksPerNs](std::uint64_t ticks) {
        return static_cast<double>(ticks) / ticksPerNs;
    };
    out << "\"calls\": " << calls.size() << ", \"p50\": " << ns(calls[calls.size() / 2].ticks)
        << ", \"p99\": " << ns(calls[slowFrom - 1].ticks) << ", \"events\": {";
    const char* separator = "";
    for (std::size_t e = 0; e < kEventCount; ++e) {
        std::uint64_t with = 0, slowWith = 0, total = 0, slowTotal = 0;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            const std::uint64_t grew = calls[i].grew[e];
            const bool slow = i >= slowFrom;
            with += grew > 0;
            total += grew;
            slowWith += slow && grew > 0;
            slowTotal += slow ? grew : 0;
        }
        if (total == 0) {
            continue;
        }
        const double slowCalls = static_cast<double>(calls.size() - slowFrom);
        const double allCalls = static_cast<double>(calls.size());
        out << separator << "\"" << kEvents[e].name << "\": {\"share\": " << with / allCalls
            << ", \"slow_share\": " << slowWith / slowCalls << ", \"mean\": " << total / allCalls
            << ", \"slow_mean\": " << slowTotal / slowCalls << "}";
        separator = ", ";
    }
    out << "}";
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

}  // namespace

int main(int argc, char** argv) {
    if (!kCountEvents) {
        std::fprintf(stderr, "map_events: built without MAPBENCH_COUNT_EVENTS\n");
        return 2;
    }
    int operations = 1000000;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool isOperations = argument.rfind("--operations=", 0) == 0;
        const int value = std::atoi(argument.c_str() + (isOperations ? 13 : 0));
        if (value < 1) {
            std::fprintf(stderr, "map_events: '%s' is not a positive count\n", argv[i]);
            return 2;
        }
        (isOperations ? operations : sizes.emplace_back()) = value;
    }
    if (sizes.empty()) {
        sizes = {10000, 1000000};
    }
    const double ticksPerNs = calibrateTicksPerNs(200);
    std::cout << "{\"program\": \"map_events\", \"ticks_per_ns\": " << ticksPerNs
              << ", \"runs\": [";
    const char* separator = "\n  ";
    for (const Workload& workload : kWorkloads) {
        for (const MapVariant& variant : mapVariants({kProgramOrder, 32, 64, 128})) {
            for (int n : sizes) {
                if (variant.kind->quadraticFill && n > 100000) {
                    continue;
                }
                const std::string name =
                    std::string(workload.name) + "/" + variant.label() + "/" + std::to_string(n);
                std::cerr << name << std::endl;
                Recorder record(static_cast<std::size_t>(operations));
                workload.run(variant, n, record);
                std::cout << separator << "{\"name\": \"" << name << "\", ";
                writeShares(std::cout, record.calls(), ticksPerNs);
                std::cout << "}";
                separator = ",\n  ";
            }
        }
    }
    std::cout << "]}" << std::endl;
    return 0;
}
