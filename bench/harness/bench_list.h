// What a bench program runs, as `--list` prints it for the report and the
// comparison script: its suites with their cut-offs, its contenders, its
// default sizes and, for the phases, the goals of our maps.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "contenders.h"

// One family of timed runs, such as "find" or "fifo".
struct SuiteInfo {
    std::string name;
    std::string unit;  // what one timed item is: "operation", "step"
    // Contenders with a quadratic fill run only up to this size.
    std::size_t largestArray;
    std::string description;
    // The suite walks keys in order: only contenders with a scan run it.
    bool scans = false;
    // The fill the suite runs on, when suites run one after another on one
    // contender may share it ("random", "ascending"): suites with the same
    // name read the same map, and those that change it come last in the
    // list. Empty: the suite builds its maps itself.
    std::string sharedFill = "";
    // The suite builds its maps on pages the process has never touched (the
    // heap is given back before each build), so it pays what growing onto
    // fresh pages costs.
    bool coldHeap = false;
    // The sizes the suite runs at whatever the run's sizes (a trace: its
    // number of operations); empty: the run's.
    std::vector<int> ownSizes = {};
};

struct BenchList {
    std::string program;
    std::vector<int> defaultSizes;
    const std::vector<Contender>* contenders;
    std::vector<SuiteInfo> suites;
    // Further facts for the report, such as the key generator.
    std::vector<std::pair<std::string, std::string>> context;
    bool withTargets = false;  // the goals of our maps against their peers
};

// Writes the list as one JSON document.
void writeList(std::ostream& out, const BenchList& list);
