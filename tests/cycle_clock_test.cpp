// The per-call timer: its readings advance, its rate agrees with the
// monotonic clock, and a call of known length reads as that length.
#include "cycle_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

TEST(CycleClock, ASleepReadsAsAtLeastItsLengthAtTheCalibratedRate) {
    const double ticksPerNs = calibrateTicksPerNs(20);
    ASSERT_TRUE(std::isfinite(ticksPerNs));
    ASSERT_GT(ticksPerNs, 0.0);
    const auto sleep = std::chrono::milliseconds(5);
    const double ns =
        static_cast<double>(ticksOf([sleep] { std::this_thread::sleep_for(sleep); })) / ticksPerNs;
    // A sleep lasts at least as long as asked; a shared machine may add
    // much more, but not seconds.
    EXPECT_GE(ns, 0.95 * 5e6);
    EXPECT_LT(ns, 2e9);
}

TEST(CycleClock, TwoReadingsAroundNothingCostLittleAndNeverRunBackwards) {
    for (int i = 0; i < 1000; ++i) {
        const std::uint64_t first = cycleStart();
        const std::uint64_t second = cycleStop();
        ASSERT_LE(first, second);
    }
    EXPECT_LT(ticksOf([] {}), std::uint64_t{1} << 40);
}
