// The steps of the workloads beyond the program's own that more than one
// bench program runs: insertion of keys in ascending or descending order and
// the FIFO window. Each step hands its map call to `each`, a callable that
// must run it once: the timed suites run it at once (runNow), map_latency
// times it on its own.
#pragma once

#include <cstddef>

#include "map_interface.h"
#include "workload_keys.h"

// Runs the call it is handed; inlined, it leaves the bare map call.
struct RunNow {
    template <typename Call>
    void operator()(Call&& call) const {
        call();
    }
};

enum class KeyOrder { ascending, descending };

// The n present keys inserted into `map` in `order`, each with `payload`.
template <typename Each>
void insertInOrder(Map& map, std::size_t n, KeyOrder order, Data* payload, Each&& each) {
    for (std::size_t i = 0; i < n; ++i) {
        const int key = presentKey(order == KeyOrder::ascending ? i : n - 1 - i);
        each([&map, key, payload] { map.insert(key, payload); });
    }
}

// A window of n keys over `map`: it holds presentKey(first) ..
// presentKey(first + n - 1), and each step inserts the key above them all
// and erases the smallest.
class FifoWindow {
public:
    // The window's keys must already be in the map, from presentKey(first) on.
    FifoWindow(Map& map, std::size_t n, Data* payload, std::size_t first = 0)
        : m_map(map), m_n(n), m_payload(payload), m_first(first) {}

    template <typename Each>
    void step(Each&& each) {
        const int newest = presentKey(m_first + m_n);
        const int oldest = presentKey(m_first);
        Map& map = m_map;
        Data* payload = m_payload;
        each([&map, newest, payload] { map.insert(newest, payload); });
        each([&map, oldest] { map.erase(oldest); });
        ++m_first;
    }

    std::size_t first() const { return m_first; }

private:
    Map& m_map;
    std::size_t m_n;
    Data* m_payload;
    std::size_t m_first;
};
