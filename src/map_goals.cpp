#include "map_goals.h"

const char* statisticName(Goal::Statistic statistic) {
    switch (statistic) {
        case Goal::Statistic::time:
            return "time";
        case Goal::Statistic::percentile:
            return "percentile";
        case Goal::Statistic::instructions:
            return "instructions";
        case Goal::Statistic::l1Misses:
            return "l1_misses";
        case Goal::Statistic::bytes:
            return "bytes";
    }
    return "";
}

std::vector<Goal> defaultGoals() {
    return {Goal::time("find", 1.0), Goal::time("mix", 1.0)};
}
