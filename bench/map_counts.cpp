// One map's find and mix phases for callgrind to count: the program's
// workload through DriverSession, with collection switched on only around
// the measured finds and the measured mix steps. Each of the two is dumped
// as its own profile part ("find", then "mix"). bench/counts runs it.
//
// With --scans, the scans of the workload suite instead: a map of N keys
// filled in random order (the suite's keys), then WALKS whole walks (part
// "walk") and SCANS short scans (part "short_scan") from the suite's
// uniform starts, its insertions left out so that every map holds the same
// keys throughout.
//
//   map_counts --list                     the contenders, as JSON
//   map_counts NAME N FINDS MIXES         fill N records, count FINDS finds, empty, run N
//                                         uncounted mix steps, count MIXES mix steps
//   map_counts --scans NAME N WALKS SCANS the scans, counted
#include <valgrind/callgrind.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "bench_common.h"
#include "driver_session.h"
#include "workloads.h"

namespace {

int listContenders() {
    BenchList list;
    list.program = "map_counts";
    list.contenders = &contenders();
    writeList(std::cout, list);
    return 0;
}

int positive(const char* text) {
    const int value = std::atoi(text);
    if (value < 1) {
        std::fprintf(stderr, "map_counts: '%s' is not a positive count\n", text);
        std::exit(2);
    }
    return value;
}

const Contender& contenderNamed(const char* name) {
    const Contender* contender = findContender(name);
    if (contender == nullptr) {
        std::fprintf(stderr, "map_counts: no contender named %s\n", name);
        std::exit(2);
    }
    return *contender;
}

int countScans(const Contender& contender, int n, int walks, int scans) {
    if (!contender.scan) {
        std::fprintf(stderr, "map_counts: %s has no ordered scan\n", contender.name.c_str());
        return 2;
    }
    IntegerData payload(1);
    std::unique_ptr<Map> map = contender.make();
    std::mt19937_64 generator(kWorkloadSeed);
    const auto size = static_cast<std::size_t>(n);
    for (int key : shuffledKeys(size, generator)) {
        map->insert(key, &payload);
    }
    std::vector<ScanStep> steps = shortScanSteps(size, false, generator);
    steps.erase(std::remove_if(steps.begin(), steps.end(),
                               [](const ScanStep& step) { return step.length == 0; }),
                steps.end());
    ScanTally tally;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < walks; ++i) {
        contender.scan(*map, INT_MIN, kScanAll, tally);
    }
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT("walk");
    long visited = 0;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < scans; ++i) {
        const ScanStep& step = steps[static_cast<std::size_t>(i) % steps.size()];
        visited += contender.scan(*map, step.key, step.length, tally);
    }
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT("short_scan");
    // bench/counts divides by the entries the short scans visited; the
    // key sum keeps the visits from being optimised away.
    std::printf("visited %ld key sum %llu\n", visited,
                static_cast<unsigned long long>(tally.keySum));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--list") {
        return listContenders();
    }
    if (argc == 6 && std::string(argv[1]) == "--scans") {
        return countScans(contenderNamed(argv[2]), positive(argv[3]), positive(argv[4]),
                          positive(argv[5]));
    }
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: map_counts --list | map_counts NAME N FINDS MIXES | "
                     "map_counts --scans NAME N WALKS SCANS\n");
        return 2;
    }
    const Contender& contender = contenderNamed(argv[1]);
    const int n = positive(argv[2]);
    const int finds = positive(argv[3]);
    const int mixes = positive(argv[4]);

    std::unique_ptr<Map> map = contender.make();
    DriverSession session(*map, n);
    session.fill();
    CALLGRIND_TOGGLE_COLLECT;
    session.finds(finds);
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT("find");

    session.startMixAfterFinds();
    CALLGRIND_TOGGLE_COLLECT;
    session.mix(mixes);
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT("mix");
    return 0;
}
