#include "bench_main.h"

#include <iostream>

#include "command_line.h"
#include "heap_shift.h"
#include "machine_load.h"
#include "progress.h"
#include "run_plan.h"

namespace {

std::string peerTable(const std::vector<Contender>& contenders) {
    std::string table;
    for (const Contender& contender : contenders) {
        if (contender.ours()) {
            table += (table.empty() ? "" : ",") + contender.name + "=" + contender.peer;
        }
    }
    return table;
}

// What else the machine did during the run, beside its figures: the report
// warns of runs it took much from.
void recordInterference(benchmark::State& state, const Interference& seen) {
    state.counters["steal"] = seen.steal;
    state.counters["others"] = seen.others;
    state.counters["interrupts_per_s"] =
        seen.seconds > 0 ? static_cast<double>(seen.interrupts) / seen.seconds : 0.0;
    state.counters["load"] = seen.load;
    state.counters["seconds"] = seen.seconds;
}

void registerAll(const BenchProgram& program, const std::vector<int>& sizes, Progress& progress,
                 HeapShift& shift) {
    for (const PlannedRun& planned :
         planRuns(program.list.suites, *program.list.contenders, sizes)) {
        const std::string name = planned.name();
        progress.add(name);
        const SuiteRun run = program.suites[planned.suiteIndex].run;
        const Contender& contender = *planned.contender;
        const std::size_t n = planned.n;
        benchmark::RegisterBenchmark(name.c_str(), [&progress, &shift, name, run, &contender,
                                                    n](benchmark::State& state) {
            if (progress.starting(name)) {
                shift.next();
            }
            const MachineSample before = MachineSample::now();
            run(state, name, contender, n);
            recordInterference(state, Interference::between(before, MachineSample::now()));
        })->Unit(benchmark::kMicrosecond);
    }
}

int run(int argc, char** argv, BenchProgram program) {
    const CommandLine flags(program.list.program, argc, argv,
                            {{"--list", false, "what it runs, as JSON"},
                             {"--sizes", true, "record counts, such as 1000,10000"}},
                            "--benchmark_");
    for (const Suite& suite : program.suites) {
        program.list.suites.push_back(suite.info);
    }
    if (flags.has("--list")) {
        writeList(std::cout, program.list);
        return 0;
    }
    const std::vector<int> sizes = flags.sizes(program.list.defaultSizes);
    const std::string repetitions = flags.libraryValue("--benchmark_repetitions");
    // Repetitions run back to back read as one run: the name does not change
    // between them.
    const bool interleaved = flags.libraryValue("--benchmark_enable_random_interleaving") == "true";
    static Progress progress(
        flags.libraryValue("--benchmark_filter"),
        repetitions.empty() || !interleaved
            ? 1
            : static_cast<int>(parseNumber("--benchmark_repetitions", repetitions, 1, 1000000)));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::AddCustomContext("peers", peerTable(*program.list.contenders));
    for (const auto& [key, value] : program.list.context) {
        benchmark::AddCustomContext(key, value);
    }
    static HeapShift shift;
    registerAll(program, sizes, progress, shift);
    progress.begin();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace

int benchMain(int argc, char** argv, BenchProgram program) {
    const std::string name = program.list.program;
    return runProgram(name, [&] { return run(argc, argv, std::move(program)); });
}
