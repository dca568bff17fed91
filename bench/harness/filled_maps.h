// The filled maps the workload suites run on, kept between the calls of one
// benchmark (run_cache.h): a map of the n present keys, filled in random or
// ascending order, and each run's position on it (what it has drawn and how
// far it has gone). Runs that share a fill (--share-fills) share the map.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"
#include "map_interface.h"
#include "mix_run.h"
#include "workload_keys.h"

// Every key's payload; no map reads it, the dependent finds read its value
// (1), and the mixes' updates write it back unchanged.
extern IntegerData g_payload;

// What one run has drawn on a filled map, and how far it has gone.
struct Position {
    std::vector<int> queries;
    std::vector<ScanStep> scanSteps;
    std::vector<MixStep> mixSteps;
    std::unique_ptr<MixRun> mix;  // a mix run's state
    std::size_t next = 0;         // the next query, FIFO step or scan step
};

enum class Fill { ascending, random };

// A run on its filled map: the map and the run's own position on it.
struct OnFill {
    Map& map;
    Position& at;
};

// The map of the run's fill (kept under keys.fill), filled in `fill` order
// the first time; a sorted array holds the same entries whatever the order,
// so above kLargestRandomArrayFill it is filled in key order.
OnFill filled(const RunKeys& keys, const Contender& contender, std::size_t n, Fill fill);
