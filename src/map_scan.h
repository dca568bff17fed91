// Ordered scans: the entries of a map whose key is at least `from`, in
// ascending key order, at most `count` of them. Each of our maps provides one
// as a member template `int scan(int from, int count, Visit&& visit) const`
// that calls visit(key, payload) for every entry it passes and returns how
// many it passed; the visitor is a template parameter so that the compiler
// can inline it into the walk. A count of 0 or below visits nothing.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>

#include "map_interface.h"

// A count that takes every entry from the start on.
constexpr int kScanAll = INT_MAX;

// Visits an entry: its key and its payload.
using ScanVisitor = std::function<void(int key, Data* data)>;

// What a scan passed, summed so that no visit can be optimised away. Two
// independent additions per entry: the sum adds no chain of dependent
// multiplications to the walk it measures.
struct ScanTally {
    std::uint64_t keySum = 0;
    std::uintptr_t payloadSum = 0;

    void add(int key, const Data* data) {
        keySum += static_cast<std::uint32_t>(key);
        payloadSum += reinterpret_cast<std::uintptr_t>(data);
    }
};

// A kind's scan behind Map, both ways: `visit` hands every entry to a
// function (the tests and the fuzzer check the sequence), `tally` sums them
// with the summing inlined into the walk (the benchmarks time it). Both empty
// for a kind without a scan.
struct MapScan {
    std::function<int(const Map&, int from, int count, const ScanVisitor& visit)> visit;
    std::function<int(const Map&, int from, int count, ScanTally& tally)> tally;

    explicit operator bool() const { return static_cast<bool>(visit); }
};

// The scan of maps of class M, through its member template.
template <typename M>
MapScan scanOf() {
    return {[](const Map& map, int from, int count, const ScanVisitor& visit) {
                return static_cast<const M&>(map).scan(from, count, visit);
            },
            [](const Map& map, int from, int count, ScanTally& tally) {
                return static_cast<const M&>(map).scan(
                    from, count, [&tally](int key, Data* data) { tally.add(key, data); });
            }};
}
