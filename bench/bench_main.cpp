#include "bench_main.h"

#include <iostream>

#include "progress.h"

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

void registerAll(const BenchProgram& program, const std::vector<int>& sizes, Progress& progress) {
    for (const Suite& suite : program.suites) {
        for (const Contender& contender : *program.list.contenders) {
            for (int size : sizes) {
                const auto n = static_cast<std::size_t>(size);
                if (!runsAt(suite.info, contender, n)) {
                    continue;
                }
                const std::string name =
                    suite.info.name + "/" + contender.name + "/" + std::to_string(n);
                progress.add(name);
                const SuiteRun run = suite.run;
                benchmark::RegisterBenchmark(name.c_str(), [&progress, name, run, &contender,
                                                            n](benchmark::State& state) {
                    progress.starting(name);
                    run(state, name, contender, n);
                })->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

}  // namespace

int benchMain(int argc, char** argv, BenchProgram program) {
    for (const Suite& suite : program.suites) {
        program.list.suites.push_back(suite.info);
    }
    if (takeListFlag(argc, argv)) {
        writeList(std::cout, program.list);
        return 0;
    }
    const std::vector<int> sizes = takeSizes(argc, argv, program.list.defaultSizes);
    static Progress progress(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::AddCustomContext("peers", peerTable(*program.list.contenders));
    for (const auto& [key, value] : program.list.context) {
        benchmark::AddCustomContext(key, value);
    }
    registerAll(program, sizes, progress);
    progress.begin();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
