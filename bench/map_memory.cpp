// Weighs each map's heap after the program's fill: heap bytes per entry
// held, for our maps and the peers. Nothing here is timed; the timed
// benchmarks run without the counting allocator.
//
//   map_memory [--sizes=1000,10000] [--maps=BTree_64,std_map]
//       one JSON document on standard output; every contender but the floor
//       unless --maps names them
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_common.h"
#include "driver_session.h"
#include "heap_counter.h"

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

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> sizes = takeSizes(argc, argv, {1000, 10000, 100000, 1000000});
    std::string names;
    const bool chosen = takeOption(argc, argv, "--maps=", names);
    if (argc > 1) {
        std::fprintf(stderr, "usage: map_memory [--sizes=a,b,...] [--maps=name,name,...]\n");
        return 2;
    }
    const std::vector<std::string> maps = splitList(names);
    std::printf("{\"memory\": [");
    const char* separator = "\n";
    for (const Contender& contender : contenders()) {
        const bool wanted = chosen
                                ? std::find(maps.begin(), maps.end(), contender.name) != maps.end()
                                : contender.role != Contender::Role::floor;
        if (!wanted) {
            continue;
        }
        for (int n : sizes) {
            std::fprintf(stderr, "weighing %s at %d\n", contender.name.c_str(), n);
            std::printf("%s  {\"name\": \"%s\", \"n\": %d, \"bytes_per_entry\": %.2f}", separator,
                        contender.name.c_str(), n, bytesPerEntry(contender, n));
            separator = ",\n";
        }
    }
    std::printf("\n]}\n");
    return 0;
}
