#include "bench_main.h"

#include <iostream>

#include "command_line.h"
#include "declared_heap.h"
#include "heap_shift.h"
#include "machine_load.h"
#include "progress.h"
#include "run_cache.h"
#include "run_plan.h"
#include "turns.h"

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
    // Pages touched for the first time: on the declared heap, none but in
    // the cold suites.
    state.counters["page_faults"] = static_cast<double>(seen.pageFaults);
    state.counters["seconds"] = seen.seconds;
}

// The state of a run is kept under its own name, or under the fill it
// shares.
RunKeys keysOf(const PlannedRun& planned, bool shareFills) {
    const std::string& fill = planned.suite->sharedFill;
    return {planned.name(), shareFills && !fill.empty()
                                ? runName(fill, planned.contender->name, planned.n)
                                : planned.name()};
}

// Every run starts on the declared heap: the states of the runs before it
// let go (unless the runs share fills), the free memory consolidated and
// touched, and a block of a random size held. Beside other processes
// (--turns), a run waits for its turn before anything else, its fill
// included, and keeps it through all its calls: fills made at once on both
// cores would interleave the processes' pages, and a run's first call, its
// warm-up, fills the caches again after the other processes' turns.
void registerAll(const BenchProgram& program, const std::vector<int>& sizes, Progress& progress,
                 const DeclaredHeap& heap, HeapShift& shift, bool shareFills) {
    for (const PlannedRun& planned :
         planRuns(program.list.suites, *program.list.contenders, sizes)) {
        const RunKeys keys = keysOf(planned, shareFills);
        progress.add(keys.run);
        const SuiteRun run = program.suites[planned.suiteIndex].run;
        const Contender& contender = *planned.contender;
        const std::size_t n = planned.n;
        const auto body = [&progress, &heap, &shift, keys, run, &contender, n,
                           shareFills](benchmark::State& state) {
            if (progress.starting(keys.run)) {
                Turns::take();
                if (!shareFills) {
                    RunCaches::releaseAll();
                }
                heap.restore();
                shift.next();
            }
            const MachineSample before = MachineSample::now();
            run(state, keys, contender, n);
            recordInterference(state, Interference::between(before, MachineSample::now()));
        };
        benchmark::RegisterBenchmark(keys.run.c_str(), body)->Unit(benchmark::kMicrosecond);
    }
}

// The library's flags with its untimed warm-up of every benchmark, one call
// at least, unless the caller set one: it fills a find's map and builds an
// insertion's once, so that the timed iterations find their pages touched.
std::vector<char*> withWarmUp(const CommandLine& flags, int argc, char** argv) {
    static char warmUp[] = "--benchmark_min_warmup_time=0.000001";
    std::vector<char*> arguments(argv, argv + argc);
    if (flags.libraryValue("--benchmark_min_warmup_time").empty()) {
        arguments.push_back(warmUp);
    }
    arguments.push_back(nullptr);
    return arguments;
}

int run(int argc, char** argv, BenchProgram program) {
    std::vector<Flag> known = {
        {"--list", false, "what it runs, as JSON"},
        {"--sizes", true, "record counts, such as 1000,10000"},
        {"--share-fills", false,
         "suites that read the same fill share it, every fill kept to the end: for a run "
         "of one contender, in list order"},
        {"--turns", true,
         "GRANTS,REQUESTS: two file descriptors through which the runner gives this process "
         "its turns beside others"}};
    known.insert(known.end(), program.flags.begin(), program.flags.end());
    const CommandLine flags(program.list.program, argc, argv, known, "--benchmark_");
    if (program.addSuites) {
        program.addSuites(flags, program.suites);
    }
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
    const bool shareFills = flags.has("--share-fills");
    if (shareFills && interleaved) {
        throw FlagError(
            "--share-fills runs the suites in their listed order, which random "
            "interleaving would not keep");
    }
    static Progress progress(
        flags.libraryValue("--benchmark_filter"),
        repetitions.empty() || !interleaved
            ? 1
            : static_cast<int>(parseNumber("--benchmark_repetitions", repetitions, 1, 1000000)));
    std::vector<char*> arguments = withWarmUp(flags, argc, argv);
    int count = static_cast<int>(arguments.size()) - 1;
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 1;
    }
    benchmark::AddCustomContext("peers", peerTable(*program.list.contenders));
    for (const auto& [key, value] : program.list.context) {
        benchmark::AddCustomContext(key, value);
    }
    if (flags.has("--turns")) {
        const std::vector<long long> ends = flags.numbers("--turns", 0, 1 << 20, {});
        if (ends.size() != 2) {
            throw FlagError("--turns takes two file descriptors, GRANTS,REQUESTS");
        }
        Turns::join(static_cast<int>(ends[0]), static_cast<int>(ends[1]));
    }
    RunCaches::keepingAll() = shareFills;
    static const DeclaredHeap heap(kBenchReserveBytes);
    static HeapShift shift;
    registerAll(program, sizes, progress, heap, shift, shareFills);
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
