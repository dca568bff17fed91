// What the benchmarks ask of a kind of map against the container a user
// would pick instead (its peer): a goal on one suite's operations, judged
// on one statistic, at some sizes, with a limit on our map's value over
// the peer's. Each kind in the list of kinds carries its goals.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct Goal {
    enum class Statistic {
        time,          // time per operation of the suite
        percentile,    // a percentile of the time of each call (`q`)
        instructions,  // instructions per operation, counted
        l1Misses,      // simulated L1 data-cache misses per operation
        bytes,         // heap bytes per entry after the fill
    };

    std::string suite;  // "find", "mix", "walk"; the fill for bytes
    Statistic statistic;
    double limit;                // our map's value over the peer's, at most
    std::vector<int> sizes = {};  // empty: the benchmarks' target sizes
    double q = 0;                 // the percentile, for Statistic::percentile

    static Goal time(std::string suite, double limit, std::vector<int> sizes = {}) {
        return {std::move(suite), Statistic::time, limit, std::move(sizes)};
    }
    static Goal percentile(std::string suite, double q, double limit, std::vector<int> sizes) {
        return {std::move(suite), Statistic::percentile, limit, std::move(sizes), q};
    }
    static Goal instructions(std::string suite, double limit) {
        return {std::move(suite), Statistic::instructions, limit};
    }
    static Goal bytes(double limit) { return {"fill", Statistic::bytes, limit}; }
};

// "time", "percentile", "instructions", "l1_misses", "bytes".
const char* statisticName(Goal::Statistic statistic);

// The goals of a kind registered without goals of its own: to match its
// peer's find and mix times.
std::vector<Goal> defaultGoals();
