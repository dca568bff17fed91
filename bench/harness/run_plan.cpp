#include "run_plan.h"

#include <algorithm>

namespace {

bool chosen(const std::vector<std::string>& names, const std::string& name) {
    return names.empty() || std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::string runName(const std::string& suite, const std::string& contender, std::size_t n) {
    return suite + "/" + contender + "/" + std::to_string(n);
}

bool runsAt(const SuiteInfo& suite, const Contender& contender, std::size_t n) {
    return !(contender.quadraticFill && n > suite.largestArray) &&
           !(suite.scans && !contender.scan);
}

std::vector<PlannedRun> planRuns(const std::vector<SuiteInfo>& suites,
                                 const std::vector<Contender>& contenders,
                                 const std::vector<int>& sizes, const RunChoice& choice) {
    std::vector<PlannedRun> runs;
    for (std::size_t s = 0; s < suites.size(); ++s) {
        if (!chosen(choice.suites, suites[s].name)) {
            continue;
        }
        for (const Contender& contender : contenders) {
            if (!chosen(choice.maps, contender.name) || (choice.oursOnly && !contender.ours())) {
                continue;
            }
            for (const int size : suites[s].ownSizes.empty() ? sizes : suites[s].ownSizes) {
                const auto n = static_cast<std::size_t>(size);
                if (runsAt(suites[s], contender, n)) {
                    runs.push_back({s, &suites[s], &contender, n});
                }
            }
        }
    }
    return runs;
}
