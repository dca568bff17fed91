// What one load costs when it cannot start before the one before it has
// ended: a pointer chase over a random cycle of 64-byte lines spread over a
// working set, the machine's memory round trip at that size. A lookup one
// at a time costs at least one round trip for each line it reads that is
// not in the cache, so a dependent find's time divided by the round trip at
// its map's size says how far the map is from what the machine allows.
//
// The working set of n records is n * 32 bytes: a key, a pointer to its
// record and half a line of structure, about what the B-tree spends on an
// entry with its record. The lines come from the heap as a map's nodes do
// (declared_heap.h: pages touched before the chase), in a random cycle
// drawn from a fixed seed, each line visited once a lap.
//
// Flags: --sizes=10000,1000000 (record counts, default 1e4 to 1e7),
// --laps=K (timed laps a size, default 5). Writes one JSON document to
// standard output: per size, the working set in bytes, the median ns per
// load over the timed laps of at least 2^20 loads each, and every lap's ns
// in the order they ran. Many laps over half the last-level cache show how
// much of it the machine keeps for this process from one lap to the next.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "command_line.h"
#include "declared_heap.h"
#include "json_writer.h"

namespace {

constexpr std::size_t kBytesPerRecord = 32;
constexpr std::size_t kLine = 64;
constexpr std::size_t kLeastLoads = std::size_t{1} << 20;
constexpr long long kDefaultLaps = 5;
constexpr long long kMostLaps = 1000;

struct alignas(kLine) Line {
    const Line* next;
};

// A cycle through every line, in an order drawn from a fixed seed
// (Sattolo's shuffle: one cycle, not several).
std::unique_ptr<Line[]> randomCycle(std::size_t lines) {
    std::vector<std::size_t> order(lines);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::mt19937_64 generator(20261210);
    for (std::size_t i = lines - 1; i > 0; --i) {
        std::swap(order[i], order[std::uniform_int_distribution<std::size_t>(0, i - 1)(generator)]);
    }
    std::unique_ptr<Line[]> cycle(new Line[lines]);
    for (std::size_t i = 0; i < lines; ++i) {
        cycle[order[i]].next = &cycle[order[(i + 1) % lines]];
    }
    return cycle;
}

// Follows `loads` links from `start`; returns where it ended. The end is
// handed to the processor before the function returns, so that the
// compiler can move no load past the clock readings around the call.
const Line* chase(const Line* start, std::size_t loads) {
    const Line* at = start;
    for (std::size_t i = 0; i < loads; ++i) {
        at = at->next;
    }
#if defined(__GNUC__)
    asm volatile("" : "+r"(at) : : "memory");
#endif
    return at;
}

// The ns per load of `laps` timed chases, in the order they ran, after one
// untimed lap.
std::vector<double> nsPerLoad(std::size_t bytes, long long laps) {
    const std::size_t lines = std::max<std::size_t>(2, bytes / kLine);
    const std::unique_ptr<Line[]> cycle = randomCycle(lines);
    const std::size_t loads = std::max(kLeastLoads, lines);
    const Line* at = chase(&cycle[0], lines);
    std::vector<double> times;
    for (long long lap = 0; lap < laps; ++lap) {
        const auto begin = std::chrono::steady_clock::now();
        at = chase(at, loads);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::nano>(end - begin).count() /
                        static_cast<double>(loads));
    }
    return times;
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

int roundTripMain(int argc, char** argv) {
    const CommandLine flags("round_trip", argc, argv,
                            {{"--sizes", true, "record counts (default 1e4 to 1e7)"},
                             {"--laps", true, "timed laps a size (default 5)"}});
    const std::vector<int> sizes = flags.sizes({10000, 100000, 1000000, 10000000});
    const long long laps = flags.number("--laps", 1, kMostLaps, kDefaultLaps);
    const auto largest = static_cast<std::size_t>(*std::max_element(sizes.begin(), sizes.end()));
    const DeclaredHeap heap(largest * kBytesPerRecord + kBenchReserveBytes);
    JsonWriter json(std::cout);
    json.beginObject()
        .member("program", "round_trip")
        .member("bytes_per_record", kBytesPerRecord)
        .member("line", kLine)
        .key("round_trips")
        .beginArray();
    for (const int n : sizes) {
        heap.restore();
        const std::size_t bytes = static_cast<std::size_t>(n) * kBytesPerRecord;
        const std::vector<double> times = nsPerLoad(bytes, laps);
        json.beginObject().member("n", n).member("bytes", bytes).member("ns", median(times));
        json.key("laps_ns").beginArray();
        for (const double time : times) {
            json.value(time);
        }
        json.endArray().endObject();
    }
    json.endArray().endObject();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return runProgram("round_trip", [&] { return roundTripMain(argc, argv); });
}
