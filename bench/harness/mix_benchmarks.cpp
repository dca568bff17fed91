#include "mix_benchmarks.h"

#include <utility>

#include "constants.h"
#include "filled_maps.h"

namespace {

// Hands a mix's call straight to the map.
struct RunEach {
    template <typename Call>
    void operator()(MixOperation, Call&& call) const {
        call();
    }
};

// ns per operation of the mix; the run's steps drawn once, from the
// generator seeded with kWorkloadSeed + `stream`, and its state kept
// between the library's calls.
void benchmarkMix(benchmark::State& state, const RunKeys& keys, const Contender& contender,
                  std::size_t n, const MixRecipe& recipe, std::uint64_t stream) {
    const OnFill run = filled(keys, contender, n, Fill::random);
    if (!run.at.mix) {
        std::mt19937_64 generator(kWorkloadSeed + stream);
        run.at.mixSteps = mixSteps(recipe, n, generator);
        run.at.mix = std::make_unique<MixRun>(run.map, n, recipe, run.at.mixSteps.data(),
                                              &g_payload, contender.scan);
    }
    MixRun& mix = *run.at.mix;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            mix.step(RunEach{});
        }
        if (mix.drifted()) {
            state.PauseTiming();
            mix.restore();
            state.ResumeTiming();
        }
    }
    // The next call, and the next suite on the shared fill, find the map as
    // it was loaded.
    mix.restore();
    benchmark::DoNotOptimize(mix.tally());
    perOperation(state, kBatch);
}

Suite mixSuite(std::string name, std::string description, const MixRecipe& recipe,
               std::uint64_t stream) {
    SuiteInfo info{std::move(name), "operation", kLargestRandomArrayFill, std::move(description),
                   recipe.share(MixOperation::scan) > 0};
    info.sharedFill = "random";
    return {std::move(info), [recipe, stream](benchmark::State& state, const RunKeys& keys,
                                              const Contender& contender, std::size_t n) {
                benchmarkMix(state, keys, contender, n, recipe, stream);
            }};
}

}  // namespace

std::vector<Suite> coreSuites() {
    std::vector<Suite> suites;
    std::uint64_t stream = 10;
    for (const CoreWorkload& workload : coreWorkloads()) {
        suites.push_back(
            mixSuite(workload.suite, workload.description, parseMix(workload.recipe), stream++));
    }
    return suites;
}

Suite ownMixSuite(const MixRecipe& recipe, const std::string& text) {
    return mixSuite("own_mix", "the mix " + text, recipe, 20);
}

Suite traceSuite(std::shared_ptr<const Trace> trace) {
    SuiteInfo info{"trace", "operation", kNoLimit, "the operations of the trace, replayed",
                   trace->scans};
    info.ownSizes = {static_cast<int>(trace->steps.size())};
    return {std::move(info), [trace](benchmark::State& state, const RunKeys&,
                                     const Contender& contender, std::size_t) {
                ScanTally tally;
                const auto scan = [&contender, &tally](const Map& map, int from, int count) {
                    return contender.scan(map, from, count, tally);
                };
                for (auto _ : state) {
                    state.PauseTiming();
                    std::unique_ptr<Map> map = contender.make();
                    load(*map, *trace, &g_payload);
                    state.ResumeTiming();
                    benchmark::DoNotOptimize(replay(*map, *trace, &g_payload, scan));
                    state.PauseTiming();
                    map.reset();
                    state.ResumeTiming();
                }
                benchmark::DoNotOptimize(tally);
                perOperation(state, static_cast<std::int64_t>(trace->steps.size()));
            }};
}
