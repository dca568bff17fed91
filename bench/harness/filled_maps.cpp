#include "filled_maps.h"

#include "constants.h"
#include "run_cache.h"
#include "workload_steps.h"

IntegerData g_payload(1);

namespace {

// A filled map, and each run's position on it.
struct Filled {
    std::unique_ptr<Map> map;
    std::map<std::string, Position> runs;
};

RunCache<Filled> g_filled;

}  // namespace

OnFill filled(const RunKeys& keys, const Contender& contender, std::size_t n, Fill fill) {
    Filled& live = g_filled.resume(keys.fill, [&] {
        Filled made;
        made.map = contender.make();
        std::mt19937_64 generator(kWorkloadSeed);
        if (fill == Fill::random && !(contender.quadraticFill && n > kLargestRandomArrayFill)) {
            for (int key : shuffledKeys(n, generator)) {
                made.map->insert(key, &g_payload);
            }
        } else {
            insertInOrder(*made.map, n, KeyOrder::ascending, &g_payload, RunNow{});
        }
        return made;
    });
    return {*live.map, live.runs[keys.run]};
}
