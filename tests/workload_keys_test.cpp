// The keys of the benchmark's workload families: the same on every run, and
// shaped as the workloads promise.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "workload_keys.h"

TEST(WorkloadKeys, ShuffledKeysAreEveryPresentKeyOnceInTheSameOrderEachRun) {
    std::mt19937_64 first(kWorkloadSeed);
    std::mt19937_64 second(kWorkloadSeed);
    const std::vector<int> keys = shuffledKeys(1000, first);
    EXPECT_EQ(keys, shuffledKeys(1000, second));
    std::vector<int> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        ASSERT_EQ(sorted[i], presentKey(i));
    }
    EXPECT_FALSE(std::is_sorted(keys.begin(), keys.end()));
}

TEST(WorkloadKeys, NineInTenMissQueriesSeekAnAbsentKeyInsideTheRange) {
    std::mt19937_64 generator(kWorkloadSeed);
    const std::vector<int> queries = missingQueries(5000, 0.9, generator);
    ASSERT_EQ(queries.size(), kQueryRing);
    std::size_t absent = 0;
    for (int key : queries) {
        ASSERT_GE(key, 0);
        ASSERT_LE(key, presentKey(4999) + 1);
        absent += key % 2 == 1 ? 1 : 0;
    }
    EXPECT_NEAR(static_cast<double>(absent) / queries.size(), 0.9, 0.005);
}

TEST(WorkloadKeys, ZipfQueriesFavourAFewPresentKeys) {
    std::mt19937_64 generator(kWorkloadSeed);
    const std::size_t n = 10000;
    const std::vector<int> queries = zipfQueries(n, 0.99, generator);
    std::map<int, std::size_t> counts;
    for (int key : queries) {
        ASSERT_EQ(key % 2, 0);
        ASSERT_LT(key, presentKey(n));
        ++counts[key];
    }
    std::vector<std::size_t> frequencies;
    for (const auto& [key, count] : counts) {
        frequencies.push_back(count);
    }
    std::sort(frequencies.rbegin(), frequencies.rend());
    double harmonic = 0;
    for (std::size_t rank = 1; rank <= n; ++rank) {
        harmonic += std::pow(static_cast<double>(rank), -0.99);
    }
    // The hottest key takes 1 / H(n, 0.99) of the finds, about a tenth.
    EXPECT_NEAR(static_cast<double>(frequencies[0]) / queries.size(), 1 / harmonic, 0.005);
    std::size_t topHundred = 0;
    for (std::size_t i = 0; i < 100; ++i) {
        topHundred += frequencies[i];
    }
    EXPECT_GT(static_cast<double>(topHundred) / queries.size(), 0.5);
}

TEST(WorkloadKeys, ShortScanStepsAreNineteenScansOfUpToAHundredToEachNewKey) {
    for (bool zipfStarts : {false, true}) {
        std::mt19937_64 generator(kWorkloadSeed);
        const std::size_t n = 5000;
        const std::vector<ScanStep> steps = shortScanSteps(n, zipfStarts, generator);
        ASSERT_EQ(steps.size(), kQueryRing);
        std::size_t insertions = 0;
        std::map<int, std::size_t> lengths;
        for (const ScanStep& step : steps) {
            ASSERT_GE(step.key, 0);
            ASSERT_LT(step.key, presentKey(n));
            if (step.length == 0) {
                ASSERT_EQ(step.key % 2, 1) << "an insertion adds a key the map lacks";
                ++insertions;
            } else {
                ASSERT_LE(step.length, kLongestShortScan);
                ++lengths[step.length];
                ASSERT_TRUE(!zipfStarts || step.key % 2 == 0) << "hot starts are present keys";
            }
        }
        EXPECT_NEAR(static_cast<double>(insertions) / steps.size(), kInsertShare, 0.002);
        EXPECT_EQ(lengths.size(), static_cast<std::size_t>(kLongestShortScan));
        EXPECT_EQ(lengths.begin()->first, 1);
    }
}
