// The processor's time-stamp counter as a clock for single operations. On
// a processor whose counter runs at a constant rate whatever the core's
// frequency and sleep states (Linux's constant_tsc and nonstop_tsc flags),
// one reading costs a few tens of cycles, far less than the clock_gettime
// call the phases use. Elsewhere the monotonic clock stands in, in ns.
#pragma once

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>

// A reading before the timed operation: the fences keep earlier
// instructions from finishing after it and later ones from starting before.
inline std::uint64_t cycleStart() {
    _mm_lfence();
    const std::uint64_t now = __rdtsc();
    _mm_lfence();
    return now;
}

// A reading after it: rdtscp waits for every earlier instruction, and the
// fence keeps later ones from starting before the reading.
inline std::uint64_t cycleStop() {
    unsigned int processor;
    const std::uint64_t now = __rdtscp(&processor);
    _mm_lfence();
    return now;
}
#else
#include <chrono>

inline std::uint64_t cycleStart() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch() /
                                      std::chrono::nanoseconds(1));
}
inline std::uint64_t cycleStop() {
    return cycleStart();
}
#endif

// The ticks one call takes, between the two readings.
template <typename Call>
std::uint64_t ticksOf(Call&& call) {
    const std::uint64_t start = cycleStart();
    call();
    return cycleStop() - start;
}

// Counter ticks per ns, measured against the monotonic clock over about
// `milliseconds`.
double calibrateTicksPerNs(int milliseconds);

// Whether the counter is the processor's time-stamp counter with a
// constant rate (from /proc/cpuinfo's flags); false when it is not known.
bool invariantTimeStampCounter();
