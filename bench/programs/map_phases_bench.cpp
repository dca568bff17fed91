// The program's four phases (fill, find, empty, mix), timed with Google
// Benchmark on our maps and on the containers a user would pick instead.
// Every phase runs the driver's own loops with the driver's draws, and every
// map is reached through Map*. Nothing else runs while a phase is timed: the
// allocator is the program's own, and the maps are weighed by map_memory.
//
// Flags: --list (what it runs, as JSON), --sizes=1000,10000 (record counts;
// default 1e3 to 1e6; the sorted vectors stop at 1e5, where one random fill
// already takes seconds), and the library's own.
#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"
#include "driver_session.h"
#include "run_cache.h"

namespace {

void benchmarkFill(benchmark::State& state, const RunKeys&, const Contender& contender,
                   std::size_t n) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        DriverSession session(*map, static_cast<int>(n));
        state.ResumeTiming();
        session.fill();
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    perOperation(state, static_cast<std::int64_t>(n));
}

// The map of the run in progress, filled (finds) or warmed up (mix); the
// library's further calls of the same run go on with it, the draws
// continuing.
struct LiveSession {
    std::unique_ptr<Map> map;
    std::unique_ptr<DriverSession> session;
};

RunCache<LiveSession> g_live;

DriverSession& resume(const RunKeys& keys, const Contender& contender, std::size_t n,
                      void (DriverSession::*start)()) {
    return *g_live
                .resume(keys.run,
                        [&] {
                            LiveSession live{contender.make(), nullptr};
                            live.session =
                                std::make_unique<DriverSession>(*live.map, static_cast<int>(n));
                            ((*live.session).*start)();
                            return live;
                        })
                .session;
}

void benchmarkFind(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                   std::size_t n) {
    DriverSession& session = resume(keys, contender, n, &DriverSession::fill);
    for (auto _ : state) {
        session.finds(kBatch);
    }
    perOperation(state, kBatch);
}

void benchmarkEmpty(benchmark::State& state, const RunKeys&, const Contender& contender,
                    std::size_t n) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Map> map = contender.make();
        DriverSession session(*map, static_cast<int>(n));
        session.fill();
        state.ResumeTiming();
        session.empty();
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    perOperation(state, static_cast<std::int64_t>(n));
}

void benchmarkMix(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                  std::size_t n) {
    DriverSession& session = resume(keys, contender, n, &DriverSession::startMix);
    for (auto _ : state) {
        session.mix(kBatch);
    }
    perOperation(state, kBatch);
}

Suite phase(const char* name, SuiteRun run, const char* description) {
    return {{name, "operation", kLargestRandomArrayFill, description}, std::move(run)};
}

}  // namespace

int main(int argc, char** argv) {
    BenchProgram program;
    program.list.program = "map_phases_bench";
    program.list.defaultSizes = {1000, 10000, 100000, 1000000};
    program.list.contenders = &contenders();
    program.list.withTargets = true;
    program.suites = {
        phase("fill", benchmarkFill, "insert every record into an empty map"),
        phase("find", benchmarkFind, "random finds of the records' keys on the filled map"),
        phase("empty", benchmarkEmpty, "erase every record from the filled map"),
        phase("mix", benchmarkMix,
              "random insertions and erasures, after emptying the map and n untimed steps"),
    };
    return benchMain(argc, argv, std::move(program));
}
