// One map's find and mix phases for callgrind to count: the program's
// workload through DriverSession, with collection switched on only around
// the measured finds and the measured mix steps. Each of the two is dumped
// as its own profile part ("find", then "mix"). bench/counts runs it.
//
//   map_counts --list                  the contenders, as JSON
//   map_counts NAME N FINDS MIXES      fill N records, count FINDS finds, empty, run N
//                                      uncounted mix steps, count MIXES mix steps
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "bench_common.h"
#include "driver_session.h"

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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--list") {
        return listContenders();
    }
    if (argc != 5) {
        std::fprintf(stderr, "usage: map_counts --list | map_counts NAME N FINDS MIXES\n");
        return 2;
    }
    const Contender* contender = findContender(argv[1]);
    if (contender == nullptr) {
        std::fprintf(stderr, "map_counts: no contender named %s\n", argv[1]);
        return 2;
    }
    const int n = positive(argv[2]);
    const int finds = positive(argv[3]);
    const int mixes = positive(argv[4]);

    std::unique_ptr<Map> map = contender->make();
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
