// The state of the run in progress (a filled map, its queries, how far the
// run has gone), kept between calls of one benchmark: Google Benchmark calls
// a benchmark several times in a row while it settles the run's iteration
// count, always under the same run name, and those calls go on with the same
// state instead of building the map again.
#pragma once

#include <memory>
#include <string>
#include <utility>

template <typename State>
class RunCache {
public:
    // The state of run `name`: the kept one when the last call was of the
    // same run, else a new one from `make()`, after the old is released.
    template <typename Make>
    State& resume(const std::string& name, Make&& make) {
        if (m_state == nullptr || name != m_name) {
            m_state.reset();
            m_state = std::make_unique<State>(make());
            m_name = name;
        }
        return *m_state;
    }

private:
    std::string m_name;
    std::unique_ptr<State> m_state;
};
