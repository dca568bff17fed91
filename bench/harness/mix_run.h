// A mix (mix_recipe.h) run on a map of the n present keys (0, 2, ...,
// 2(n - 1)): its steps are drawn before
// timing, in a ring of kQueryRing, and each step is one map call, or a
// find and a write of the record it returns (the payload every key shares,
// written back with the value it holds, so that only the map's work
// differs between maps):
//   find    a present key          miss    an absent key (an odd one)
//   insert  a new key: beyond the present ones for the latest, ascending
//           and descending keys, else an odd one drawn as the keys are
//   erase   a present key          update  a find, then a write of the record
//   rmw     a find, then a read and a write of the record
//   scan    1 to the longest entries from a drawn key
// Uniform and Zipf keys are drawn before timing (Zipf's ranks scattered
// over the keys); the latest keys are the newest less a Zipf-drawn offset;
// ascending and descending keys go round the present keys in order, new
// ones beyond the last and erasures at the first.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "map_interface.h"
#include "map_scan.h"
#include "mix_recipe.h"
#include "workload_keys.h"

// Moves a key that goes round the keys in order by `by` (2 or -2) and
// returns it; a run so long that it reaches the end of the keys an int
// holds stays at its last key, which it then inserts or erases again.
inline int movedKey(int& key, int by) {
    if (by > 0 ? key <= std::numeric_limits<int>::max() - by
               : key >= std::numeric_limits<int>::min() - by) {
        key += by;
    }
    return key;
}

struct MixStep {
    MixOperation operation;
    int length;  // of a scan
    int key;     // drawn: the key; for the latest keys, the offset from the newest
};

// kQueryRing steps of the mix over n present keys.
std::vector<MixStep> mixSteps(const MixRecipe& recipe, std::size_t n, std::mt19937_64& generator);

// The scan a contender runs, or empty where it has none.
using MixScan = std::function<int(const Map&, int from, int count, ScanTally&)>;

class MixRun {
public:
    // `map` holds the n present keys; `inserted` is the record of every key
    // the run inserts.
    MixRun(Map& map, std::size_t n, const MixRecipe& recipe, const MixStep* steps, Data* inserted,
           MixScan scan)
        : m_map(map),
          m_keys(recipe.keys),
          m_steps(steps),
          m_inserted(inserted),
          m_scan(std::move(scan)),
          m_loadedNewest(presentKey(n - 1)),
          m_mostDrift(n / 20 > 256 ? n / 20 : 256),
          m_lowest(0),
          m_newest(m_loadedNewest) {}

    // Whether keys in order have moved by more than a twentieth of the n
    // loaded keys (256 at least) from where they were loaded. A run of a
    // fixed time would otherwise go on growing the map, or moving its range,
    // the more the faster the map: a read-latest mix on a map of 1e3 keys
    // grew it to 5e5. restore() then brings the map back, untimed.
    bool drifted() const {
        const long long moved = std::llabs(static_cast<long long>(m_newest) - m_loadedNewest) / 2 +
                                std::llabs(static_cast<long long>(m_lowest)) / 2;
        return ordered() && moved > static_cast<long long>(m_mostDrift);
    }

    // Brings the map back to the loaded keys (0, 2, ..., 2(n - 1)) after keys
    // in order have moved: erases those inserted beyond them and inserts
    // again those erased; the keys drawn (uniform, Zipf) move no range.
    void restore();

    // Runs the next step, handing its map call (with what follows it) to
    // `each(operation, call)`, which must run it once.
    template <typename Each>
    void step(Each&& each) {
        const MixStep& step = m_steps[m_next++ & (kQueryRing - 1)];
        Map& map = m_map;
        const int key = keyOf(step);
        switch (step.operation) {
            case MixOperation::find:
            case MixOperation::miss:
                each(step.operation, [&map, key] { m_sink = map.find(key); });
                break;
            case MixOperation::insert:
                each(step.operation, [&map, key, this] { map.insert(key, m_inserted); });
                break;
            case MixOperation::erase:
                each(step.operation, [&map, key] { map.erase(key); });
                break;
            case MixOperation::update:
                each(step.operation, [&map, key] { write(map.find(key)); });
                break;
            case MixOperation::rmw:
                each(step.operation, [&map, key] { readModifyWrite(map.find(key)); });
                break;
            case MixOperation::scan:
                each(step.operation, [&map, key, &step, this] {
                    m_visited += m_scan(map, key, step.length, m_tally);
                });
                break;
        }
    }

    std::size_t visited() const { return m_visited; }
    const ScanTally& tally() const { return m_tally; }

private:
    // The records keep their values (every payload holds what the other
    // suites read): an update writes the value it knows, a read-modify-write
    // writes back what it read; through volatile, so that neither is left out.
    static void write(Data* found) {
        if (found != nullptr) {
            static_cast<volatile int&>(static_cast<IntegerData*>(found)->value) = 1;
        }
    }
    static void readModifyWrite(Data* found) {
        if (found != nullptr) {
            volatile int& value = static_cast<IntegerData*>(found)->value;
            value = value;
        }
    }

    bool ordered() const {
        return m_keys != KeyDistribution::uniform && m_keys != KeyDistribution::zipf;
    }

    // The key of a step: drawn, or from the newest, the first or the
    // cursor; a miss seeks the odd key above.
    int keyOf(const MixStep& step) {
        if (m_keys == KeyDistribution::uniform || m_keys == KeyDistribution::zipf) {
            return step.key;
        }
        return orderedKey(step) + (step.operation == MixOperation::miss ? 1 : 0);
    }

    int orderedKey(const MixStep& step) {
        const bool inserting = step.operation == MixOperation::insert;
        switch (m_keys) {
            case KeyDistribution::uniform:
            case KeyDistribution::zipf:
                return step.key;
            case KeyDistribution::latest:
                return inserting ? movedKey(m_newest, 2) : m_newest - 2 * step.key;
            case KeyDistribution::ascending:
                return inserting                               ? movedKey(m_newest, 2)
                       : step.operation == MixOperation::erase ? movedKey(m_lowest, 2) - 2
                                                               : around(m_lowest, m_newest, 2);
            case KeyDistribution::descending:
                return inserting                               ? movedKey(m_lowest, -2)
                       : step.operation == MixOperation::erase ? movedKey(m_newest, -2) + 2
                                                               : around(m_newest, m_lowest, -2);
        }
        return step.key;
    }

    // The next key of the cursor that goes from `first` towards `last` by
    // `stride`, starting again at `first` past `last`.
    int around(int first, int last, int stride) {
        const long long span = (static_cast<long long>(last) - first) / stride + 1;
        if (m_cursor >= span) {
            m_cursor = 0;
        }
        return static_cast<int>(first + static_cast<long long>(stride) * m_cursor++);
    }

    Map& m_map;
    KeyDistribution m_keys;
    const MixStep* m_steps;
    Data* m_inserted;
    MixScan m_scan;
    const int m_loadedNewest;       // the largest key of the map as loaded
    const std::size_t m_mostDrift;  // keys, before restore() is due
    int m_lowest;                   // the smallest present key, where the keys move in order
    int m_newest;                   // the largest (the newest, for the latest keys)
    long long m_cursor = 0;
    std::size_t m_next = 0;
    std::size_t m_visited = 0;
    ScanTally m_tally;
    static inline Data* volatile m_sink = nullptr;
};
