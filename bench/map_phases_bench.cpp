// The program's four phases (fill, find, empty, mix), timed with Google
// Benchmark on our maps and on the containers a user would pick instead.
// Every phase runs the driver's own loops with the driver's draws, and every
// map is reached through Map*. Nothing else runs while a phase is timed: the
// allocator is the program's own, and the maps are weighed by map_memory.
//
// Extra flag: --sizes=1000,10000 (record counts; default 1e3 to 1e6; the
// sorted vectors stop at 1e5, where one random fill already takes seconds).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "contenders.h"
#include "driver_session.h"
#include "progress.h"

namespace {

constexpr int kBatch = 1000;  // operations per timed iteration of find and mix
constexpr int kLargestQuadraticFill = 100000;

void perOperation(benchmark::State& state, int operationsPerIteration) {
    state.SetItemsProcessed(state.iterations() * operationsPerIteration);
}

void benchmarkFill(benchmark::State& state, const std::string&, const Contender& contender, int n) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        DriverSession session(*map, n);
        state.ResumeTiming();
        session.fill();
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    perOperation(state, n);
}

// The map of the run in progress, filled (finds) or warmed up (mix). The
// library calls a benchmark several times in a row while it settles the
// run's iteration count; those calls go on with the same session, the same
// draws continuing, instead of building the map again.
class LiveSession {
public:
    DriverSession& resume(const std::string& name, const Contender& contender, int n,
                          void (DriverSession::*start)()) {
        if (name != m_name) {
            m_session.reset();
            m_map = contender.make();
            m_session = std::make_unique<DriverSession>(*m_map, n);
            ((*m_session).*start)();
            m_name = name;
        }
        return *m_session;
    }

private:
    std::string m_name;
    std::unique_ptr<Map> m_map;
    std::unique_ptr<DriverSession> m_session;
};

LiveSession g_live;

void benchmarkFind(benchmark::State& state, const std::string& name, const Contender& contender,
                   int n) {
    DriverSession& session = g_live.resume(name, contender, n, &DriverSession::fill);
    for (auto _ : state) {
        session.finds(kBatch);
    }
    perOperation(state, kBatch);
}

void benchmarkEmpty(benchmark::State& state, const std::string&, const Contender& contender,
                    int n) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        DriverSession session(*map, n);
        session.fill();
        state.ResumeTiming();
        session.empty();
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    perOperation(state, n);
}

void benchmarkMix(benchmark::State& state, const std::string& name, const Contender& contender,
                  int n) {
    DriverSession& session = g_live.resume(name, contender, n, &DriverSession::startMix);
    for (auto _ : state) {
        session.mix(kBatch);
    }
    perOperation(state, kBatch);
}

using Phase = void (*)(benchmark::State&, const std::string&, const Contender&, int);

void registerAll(const std::vector<int>& sizes, Progress& progress) {
    const std::pair<const char*, Phase> phases[] = {{"fill", benchmarkFill},
                                                    {"find", benchmarkFind},
                                                    {"empty", benchmarkEmpty},
                                                    {"mix", benchmarkMix}};
    for (const auto& [phaseName, phase] : phases) {
        for (const Contender& contender : contenders()) {
            for (int n : sizes) {
                if (contender.quadraticFill && n > kLargestQuadraticFill) {
                    continue;
                }
                const std::string name =
                    std::string(phaseName) + "/" + contender.name + "/" + std::to_string(n);
                progress.add(name);
                benchmark::RegisterBenchmark(name.c_str(), [&progress, name, phase, &contender,
                                                            n](benchmark::State& state) {
                    progress.starting(name);
                    phase(state, name, contender, n);
                })->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> sizes = takeSizes(argc, argv, {1000, 10000, 100000, 1000000});
    static Progress progress(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::AddCustomContext("peers", peerTable());
    registerAll(sizes, progress);
    progress.begin();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
