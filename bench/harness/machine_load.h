// What else the machine did while a run was measured: the CPU time the host
// stole, the CPU time other tasks took, the interrupts, and the load
// average, read from /proc before and after the run. A run whose share of
// stolen or taken time passes a threshold is a run of the machine as much as
// of the map; the report says so. Elsewhere than Linux every figure is 0.
#pragma once

#include <chrono>
#include <cstdint>

struct MachineSample {
    std::chrono::steady_clock::time_point at;
    std::uint64_t stealTicks = 0;           // of every CPU, in clock ticks
    std::uint64_t busyTicks = 0;            // of every CPU: all but idle, iowait and steal
    std::uint64_t ownTicks = 0;             // this process's user and system time
    std::uint64_t interrupts = 0;           // of every CPU
    std::uint64_t involuntarySwitches = 0;  // this process's
    std::uint64_t pageFaults = 0;           // this process's minor faults: pages first touched
    double load = 0;                        // one-minute load average

    static MachineSample now();
};

struct Interference {
    double seconds = 0;
    // CPU-seconds per second of the run: stolen by the host, taken by
    // other tasks (busy time beyond this process's own).
    double steal = 0;
    double others = 0;
    std::uint64_t interrupts = 0;
    std::uint64_t involuntarySwitches = 0;
    std::uint64_t pageFaults = 0;
    double load = 0;  // at the end of the run

    static Interference between(const MachineSample& before, const MachineSample& after);
};
