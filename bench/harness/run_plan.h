// The runs of a bench program: every suite on every contender at every size,
// less those a cut-off leaves out, each named "suite/contender/n". The
// Google Benchmark programs register these runs, map_latency and map_events
// measure them one by one, and the report reads the names back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bench_list.h"
#include "contenders.h"

// "suite/contender/n".
std::string runName(const std::string& suite, const std::string& contender, std::size_t n);

// Whether the contender runs at size n in the suite: a sorted array stops at
// the suite's cut-off, and a scan suite needs a contender that scans.
bool runsAt(const SuiteInfo& suite, const Contender& contender, std::size_t n);

struct PlannedRun {
    std::size_t suiteIndex;  // into the suites the plan was made from
    const SuiteInfo* suite;
    const Contender* contender;
    std::size_t n;

    std::string name() const { return runName(suite->name, contender->name, n); }
};

// What a user narrowed the runs to: names of maps and suites (empty: all),
// and whether only our maps run.
struct RunChoice {
    std::vector<std::string> maps = {};
    std::vector<std::string> suites = {};
    bool oursOnly = false;
};

// Suite by suite, contender by contender, size by size.
std::vector<PlannedRun> planRuns(const std::vector<SuiteInfo>& suites,
                                 const std::vector<Contender>& contenders,
                                 const std::vector<int>& sizes, const RunChoice& choice = {});
