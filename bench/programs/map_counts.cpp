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
//   map_counts --list                         the contenders, as JSON
//   map_counts --map=NAME --size=N --finds=F --mixes=M
//       fill N records, count F finds, empty, run N uncounted mix steps,
//       count M mix steps
//   map_counts --scans --map=NAME --size=N --walks=W --short-scans=S
//       the scans, counted
// --l2-bytes=B makes the B-tree fetch ahead as on a machine of that L2 (the
// simulated caches'), not by the simulated processor's own statement.
#include <valgrind/callgrind.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "BTree.h"
#include "bench_list.h"
#include "command_line.h"
#include "driver_session.h"
#include "workload_keys.h"

namespace {

int listContenders() {
    BenchList list;
    list.program = "map_counts";
    list.contenders = &contenders();
    writeList(std::cout, list);
    return 0;
}

const Contender& contenderNamed(const std::string& name) {
    const Contender* contender = findContender(name);
    if (contender == nullptr) {
        throw FlagError("no contender named '" + name + "'");
    }
    return *contender;
}

int countScans(const Contender& contender, int n, int walks, int scans) {
    if (!contender.scan) {
        throw FlagError(contender.name + " has no ordered scan");
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

int countPhases(const Contender& contender, int n, int finds, int mixes) {
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

int countsMain(int argc, char** argv) {
    const CommandLine flags("map_counts", argc, argv,
                            {{"--list", false, "the contenders, as JSON"},
                             {"--scans", false, "count the scans instead of the phases"},
                             {"--map", true, "the contender to count"},
                             {"--size", true, "records (keys with --scans)"},
                             {"--finds", true, "finds counted"},
                             {"--mixes", true, "mix steps counted"},
                             {"--walks", true, "whole walks counted (--scans)"},
                             {"--short-scans", true, "short scans counted (--scans)"},
                             {"--l2-bytes", true,
                              "the L2 size the B-tree takes for the machine's (that of "
                              "the simulated caches)"}});
    if (flags.has("--list")) {
        return listContenders();
    }
    if (!flags.has("--map")) {
        throw FlagError("which map? --map=NAME\n" + flags.usage());
    }
    const Contender& contender = contenderNamed(flags.text("--map"));
    if (flags.has("--l2-bytes")) {
        btree_prefetch::assume_l2_bytes(
            static_cast<std::size_t>(flags.number("--l2-bytes", 1, INT_MAX, 0)));
    }
    const auto count = [&flags](const std::string& flag) {
        if (!flags.has(flag)) {
            throw FlagError("this count needs " + flag + "=N\n" + flags.usage());
        }
        return static_cast<int>(flags.number(flag, 1, INT_MAX, 0));
    };
    const int n = count("--size");
    if (flags.has("--scans")) {
        const int walks = count("--walks");
        return countScans(contender, n, walks, count("--short-scans"));
    }
    const int finds = count("--finds");
    return countPhases(contender, n, finds, count("--mixes"));
}

}  // namespace

int main(int argc, char** argv) {
    return runProgram("map_counts", [&] { return countsMain(argc, argv); });
}
