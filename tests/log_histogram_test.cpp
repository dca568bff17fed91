// The latency histogram's percentiles against the exact nearest-rank
// percentiles of the same samples, sorted.
#include "log_histogram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

const std::vector<double> kPercents = {0,  0.1, 1,  10,   25,   50,    75,
                                       90, 95,  99, 99.5, 99.9, 99.99, 100};

std::uint64_t nearestRank(const std::vector<std::uint64_t>& sorted, double percent) {
    const auto rank =
        static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

void expectWithinError(std::vector<std::uint64_t> samples) {
    LogHistogram histogram;
    for (std::uint64_t sample : samples) {
        histogram.record(sample);
    }
    std::sort(samples.begin(), samples.end());
    ASSERT_EQ(histogram.count(), samples.size());
    EXPECT_EQ(histogram.min(), samples.front());
    EXPECT_EQ(histogram.max(), samples.back());
    for (double percent : kPercents) {
        const auto exact = static_cast<double>(nearestRank(samples, percent));
        EXPECT_LE(std::abs(histogram.percentile(percent) - exact),
                  exact * LogHistogram::kRelativeError)
            << "p" << percent << " of " << samples.size() << " samples";
    }
}

std::vector<std::uint64_t> draws(std::size_t count, std::uint64_t seed,
                                 double (*draw)(std::mt19937_64&)) {
    std::mt19937_64 generator(seed);
    std::vector<std::uint64_t> samples(count);
    for (std::uint64_t& sample : samples) {
        sample = static_cast<std::uint64_t>(draw(generator));
    }
    return samples;
}

}  // namespace

TEST(LogHistogram, PercentilesMatchTheSortedSamplesWithinTheStatedError) {
    // Small values have exact buckets; cycle counts of a find; a heavy tail
    // of interrupts over nine decades; a constant; one sample.
    expectWithinError(draws(100000, 1, [](std::mt19937_64& g) { return double(g() % 64); }));
    expectWithinError(draws(200000, 2, [](std::mt19937_64& g) {
        return std::normal_distribution<double>(400, 60)(g) + 100;
    }));
    expectWithinError(draws(300000, 3, [](std::mt19937_64& g) {
        return std::pow(10.0, std::uniform_real_distribution<double>(0, 9)(g));
    }));
    expectWithinError(draws(50000, 4, [](std::mt19937_64& g) {
        return 50.0 / std::pow(std::uniform_real_distribution<double>(1e-6, 1)(g), 1.5);
    }));
    expectWithinError(draws(300000, 5, [](std::mt19937_64& g) { return double(g() % 300000); }));
    expectWithinError(std::vector<std::uint64_t>(1000, 777));
    expectWithinError({123456789});
}

TEST(LogHistogram, BucketsAscendWithTheValues) {
    std::size_t previous = 0;
    for (std::uint64_t value = 0; value < 300000; ++value) {
        const std::size_t bucket = LogHistogram::bucketOf(value);
        ASSERT_GE(bucket, previous) << value;
        previous = bucket;
    }
    const std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();
    EXPECT_GT(LogHistogram::bucketOf(largest), LogHistogram::bucketOf(largest / 2));
    LogHistogram extremes;
    extremes.record(largest);
    extremes.record(0);
    EXPECT_EQ(extremes.percentile(100), double(largest));
    EXPECT_EQ(extremes.percentile(0), 0.0);
}

TEST(LogHistogram, EmptyAndClearedHistogramsReportZero) {
    LogHistogram histogram;
    EXPECT_EQ(histogram.percentile(50), 0.0);
    EXPECT_EQ(histogram.max(), 0u);
    histogram.record(1000);
    histogram.clear();
    EXPECT_EQ(histogram.count(), 0u);
    EXPECT_EQ(histogram.min(), 0u);
    EXPECT_EQ(histogram.percentile(99), 0.0);
    histogram.record(5);
    EXPECT_EQ(histogram.percentile(99), 5.0);
}
