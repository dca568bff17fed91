// The state of the run in progress (a filled map, its queries, how far the
// run has gone), kept between calls of one benchmark: Google Benchmark calls
// a benchmark several times in a row (its warm-up, then while it settles the
// run's iteration count), always under the same run name, and those calls go
// on with the same state instead of building the map again. A state may
// also be kept across runs that share it (the suites that read one fill):
// its key then names the fill rather than the run, and every fill is kept
// until the process ends.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Every cache of a program, so that all their states can be let go before a
// run starts on a fresh heap, or all kept until the process ends.
class RunCaches {
public:
    using Release = void (*)(void*);
    static void add(void* cache, Release release) { all().emplace_back(cache, release); }
    static void remove(void* cache) {
        auto& caches = all();
        caches.erase(std::remove_if(caches.begin(), caches.end(),
                                    [cache](const auto& entry) { return entry.first == cache; }),
                     caches.end());
    }
    static void releaseAll() {
        for (auto& [cache, release] : all()) {
            release(cache);
        }
    }
    // Whether a cache keeps every state it made (runs that share fills, so
    // that no fill lands on memory another freed) or only the last.
    static bool& keepingAll() {
        static bool keeping = false;
        return keeping;
    }

private:
    static std::vector<std::pair<void*, Release>>& all() {
        static std::vector<std::pair<void*, Release>> caches;
        return caches;
    }
};

template <typename State>
class RunCache {
public:
    RunCache() {
        RunCaches::add(this, [](void* cache) { static_cast<RunCache*>(cache)->release(); });
    }
    ~RunCache() { RunCaches::remove(this); }
    RunCache(const RunCache&) = delete;
    RunCache& operator=(const RunCache&) = delete;

    // The state under `key`: a kept one, else a new one from `make()`, after
    // the old is released unless the caches keep every state.
    template <typename Make>
    State& resume(const std::string& key, Make&& make) {
        const auto found = m_states.find(key);
        if (found != m_states.end()) {
            return *found->second;
        }
        if (!RunCaches::keepingAll()) {
            release();
        }
        return *m_states.emplace(key, std::make_unique<State>(make())).first->second;
    }

    void release() { m_states.clear(); }

private:
    std::map<std::string, std::unique_ptr<State>> m_states;
};
