// The program's workload on one map, step by step: seeded with mapbench's
// default seed, the same records, the same loops (the driver's own
// functions). The benchmarks and the instruction counts run these steps, so
// what they measure is what mapbench times.
#pragma once

#include <cstdlib>
#include <memory>

#include "constants.h"
#include "timing_driver.h"

class DriverSession {
public:
    // Seeds the generator and draws the n records, as the program does.
    DriverSession(Map& map, int n) : m_map(map), m_n(n) {
        std::srand(kProgramSeed);
        m_records = generateRandomData(n);
    }

    void fill() { fillMap(m_records.get(), m_n, &m_map); }
    void empty() { emptyMap(m_records.get(), m_n, &m_map); }
    void finds(int count) { runFinds(m_records.get(), m_n, count, &m_map); }
    void mix(int count) { runMix(m_records.get(), m_n, count, &m_map); }

    // The program's mix phase begins on the emptied map: fill, empty, then
    // n untimed mix steps so that measured batches see the steady state.
    void startMix() {
        fill();
        startMixAfterFinds();
    }
    // The same after a find phase on the filled map: empty, then n mix steps.
    void startMixAfterFinds() {
        empty();
        mix(m_n);
    }

    // The fill, find and mix loops one map call at a time, for timing each
    // call on its own: the draws are made first, then `each` is handed the
    // call (a callable without arguments) and must run it once.
    template <typename Each>
    void fillEach(Each&& each) {
        for (int i = 0; i < m_n; ++i) {
            IntegerData* record = &m_records[i];
            each([this, record] { m_map.insert(record->value, record); });
        }
    }
    template <typename Each>
    void findsEach(int count, Each&& each) {
        for (int i = 0; i < count && m_n > 0; ++i) {
            const int key = m_records[std::rand() % m_n].value;
            each([this, key] { m_map.find(key); });
        }
    }
    template <typename Each>
    void mixEach(int count, Each&& each) {
        for (int i = 0; i < count && m_n > 0; ++i) {
            IntegerData* record = &m_records[std::rand() % m_n];
            if (std::rand() % 2 == 1) {
                each([this, record] { m_map.erase(record->value); });
            } else {
                each([this, record] { m_map.insert(record->value, record); });
            }
        }
    }

    int size() const { return m_n; }

private:
    Map& m_map;
    int m_n;
    std::unique_ptr<IntegerData[]> m_records;
};
