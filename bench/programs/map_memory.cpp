// Weighs each map's heap after the program's fill: heap bytes per entry
// held, for our maps and the peers. Nothing here is timed; the timed
// benchmarks run without the counting allocator.
//
// Flags: --sizes=1000,10000 (default 1e3 to 1e6), --maps=BTree_64,std_map
// (default: every contender but the floor). Writes one JSON document.
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "constants.h"
#include "driver_session.h"
#include "heap_counter.h"
#include "json_writer.h"
#include "run_plan.h"

namespace {

// A sorted array holds the same entries in the same storage whatever the
// insertion order, so above kLargestRandomArrayFill it is filled in
// ascending key order (linear time) instead of the program's random order.
double bytesPerEntry(const Contender& contender, int n) {
    std::srand(kProgramSeed);
    const std::unique_ptr<IntegerData[]> records = generateRandomData(n);
    if (contender.quadraticFill && static_cast<std::size_t>(n) > kLargestRandomArrayFill) {
        std::sort(records.get(), records.get() + n,
                  [](const IntegerData& a, const IntegerData& b) { return a.value < b.value; });
    }
    const std::size_t before = liveHeapBytes();
    std::unique_ptr<Map> map = contender.make();
    fillMap(records.get(), n, map.get());
    const int held = map->size();
    return held > 0 ? static_cast<double>(liveHeapBytes() - before) / held : 0.0;
}

int memoryMain(int argc, char** argv) {
    const CommandLine flags("map_memory", argc, argv,
                            {{"--sizes", true, "record counts (default 1000 to 1000000)"},
                             {"--maps", true, "map names, comma-separated (default all)"}});
    const SuiteInfo weighing{"bytes", "entry", kNoLimit, "heap bytes per entry after the fill"};
    RunChoice choice{flags.names("--maps")};
    std::vector<Contender> weighed;
    for (const Contender& contender : contenders()) {
        if (!choice.maps.empty() || contender.role != Contender::Role::floor) {
            weighed.push_back(contender);
        }
    }
    JsonWriter json(std::cout);
    json.beginObject().key("memory").beginArray();
    for (const PlannedRun& planned :
         planRuns({weighing}, weighed, flags.sizes({1000, 10000, 100000, 1000000}), choice)) {
        const int n = static_cast<int>(planned.n);
        std::cerr << "weighing " << planned.contender->name << " at " << n << std::endl;
        json.beginObject()
            .member("name", planned.contender->name)
            .member("n", n)
            .member("bytes_per_entry", bytesPerEntry(*planned.contender, n))
            .endObject();
    }
    json.endArray().endObject();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return runProgram("map_memory", [&] { return memoryMain(argc, argv); });
}
