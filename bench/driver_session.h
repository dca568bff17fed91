// The program's workload on one map, step by step: seeded with mapbench's
// default seed, the same records, the same loops (the driver's own
// functions). The benchmarks and the instruction counts run these steps, so
// what they measure is what mapbench times.
#pragma once

#include <cstdlib>
#include <memory>

#include "bench_common.h"
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

    int size() const { return m_n; }

private:
    Map& m_map;
    int m_n;
    std::unique_ptr<IntegerData[]> m_records;
};
