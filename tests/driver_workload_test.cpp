// The driver's own workload run on the real maps, their invariants checked
// all the way through every phase.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "stdout_capture.h"
#include "tested_maps.h"
#include "timing_driver.h"

namespace {

// Forwards to a real map and checks its invariants every `period` calls.
class CheckedMap : public Map {
public:
    CheckedMap(const MapVariant& kind, int period)
        : m_kind(kind), m_map(kind.make()), m_period(period) {}

    int size() const override { return m_map->size(); }
    bool insert(int key, Data* data) override { return after(m_map->insert(key, data)); }
    bool erase(int key) override { return after(m_map->erase(key)); }
    bool member(int key) const override { return m_map->member(key); }
    Data* find(int key) const override { return m_map->find(key); }
    void print() const override { m_map->print(); }

    std::string firstProblem() const {
        return m_problem.empty() ? m_kind.check(*m_map) : m_problem;
    }

private:
    bool after(bool result) {
        if (++m_calls % m_period == 0 && m_problem.empty()) {
            m_problem = m_kind.check(*m_map);
        }
        return result;
    }

    const MapVariant& m_kind;
    std::unique_ptr<Map> m_map;
    int m_period;
    long m_calls = 0;
    std::string m_problem;
};

}  // namespace

TEST(DriverWorkload, EveryMapStaysSoundThroughEveryPhase) {
    for (const MapVariant& kind : testedMaps()) {
        std::srand(56789);
        const int records = 3000;
        const std::unique_ptr<IntegerData[]> data = generateRandomData(records);
        CheckedMap map(kind, 251);
        captureStdout([&] { timeMap(data.get(), records, 20000, &map, 0, 0); });
        EXPECT_EQ(map.firstProblem(), "") << kind.label();
    }
}
