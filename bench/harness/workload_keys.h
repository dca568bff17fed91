// The keys of the workload families beyond the program's own: sorted and
// reversed insertion, Zipf-skewed finds, finds that mostly miss, and a FIFO
// window. Every key comes from one seeded generator (std::mt19937_64, seed
// kWorkloadSeed), so a rerun sees the same keys. The driver's own workload
// keeps its rand() sequence.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

constexpr std::uint64_t kWorkloadSeed = 20261208;
// Queries are drawn before timing and read in a ring of this many.
constexpr std::size_t kQueryRing = std::size_t{1} << 20;

// The n keys a map holds: 0, 2, 4, ..., 2(n - 1). The odd numbers between
// them are the keys that miss.
inline int presentKey(std::size_t i) {
    return static_cast<int>(2 * i);
}

// A draw in [0, bound) from the workload generator.
inline std::size_t below(std::mt19937_64& generator, std::size_t bound) {
    return static_cast<std::size_t>(generator() % bound);
}

// The present keys in a random order (Fisher-Yates).
inline std::vector<int> shuffledKeys(std::size_t n, std::mt19937_64& generator) {
    std::vector<int> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
        keys[i] = presentKey(i);
    }
    for (std::size_t i = n; i > 1; --i) {
        std::swap(keys[i - 1], keys[below(generator, i)]);
    }
    return keys;
}

// Popularity ranks 0 .. n - 1, rank r drawn with probability proportional
// to 1 / (r + 1)^exponent.
class ZipfRanks {
public:
    ZipfRanks(std::size_t n, double exponent) : m_cumulative(n) {
        double total = 0;
        for (std::size_t rank = 1; rank <= n; ++rank) {
            total += std::pow(static_cast<double>(rank), -exponent);
            m_cumulative[rank - 1] = total;
        }
        m_uniform = std::uniform_real_distribution<double>(0.0, total);
    }

    std::size_t operator()(std::mt19937_64& generator) {
        const double u = m_uniform(generator);
        const auto rank = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), u);
        return std::min<std::size_t>(static_cast<std::size_t>(rank - m_cumulative.begin()),
                                     m_cumulative.size() - 1);
    }

private:
    std::vector<double> m_cumulative;
    std::uniform_real_distribution<double> m_uniform;
};

// kQueryRing finds over the n present keys, Zipf-skewed with `exponent`: the
// key of popularity rank r (from 1) is sought with probability proportional
// to 1 / r^exponent. Ranks go to keys through a random permutation, so the
// hot keys lie scattered over the map.
inline std::vector<int> zipfQueries(std::size_t n, double exponent, std::mt19937_64& generator) {
    ZipfRanks ranks(n, exponent);
    const std::vector<int> keyOfRank = shuffledKeys(n, generator);
    std::vector<int> queries(kQueryRing);
    for (int& query : queries) {
        query = keyOfRank[ranks(generator)];
    }
    return queries;
}

// kQueryRing finds of which a share `missShare` seek an absent key (an odd
// number between the present ones) and the rest a present key, uniformly.
inline std::vector<int> missingQueries(std::size_t n, double missShare,
                                       std::mt19937_64& generator) {
    std::bernoulli_distribution misses(missShare);
    std::vector<int> queries(kQueryRing);
    for (int& query : queries) {
        const int present = presentKey(below(generator, n));
        query = misses(generator) ? present + 1 : present;
    }
    return queries;
}

// One step of the short-scan workload: a scan of `length` entries from
// `key`, or, with length 0, an insertion of `key`.
struct ScanStep {
    int key;
    int length;
};
constexpr double kInsertShare = 0.05;
constexpr int kLongestShortScan = 100;

// kQueryRing steps over a map of the n present keys: 95 % scans, of a length
// uniform in 1 .. kLongestShortScan, from a start uniform over 0 .. 2n - 1
// or, with `zipfStarts`, a present key drawn as zipfQueries draws them
// (exponent 0.99); 5 % insertions of a new key, an odd number below 2n. The
// insertions grow the map, at most to 2n keys.
inline std::vector<ScanStep> shortScanSteps(std::size_t n, bool zipfStarts,
                                            std::mt19937_64& generator) {
    const std::vector<int> hotStarts =
        zipfStarts ? zipfQueries(n, 0.99, generator) : std::vector<int>{};
    std::bernoulli_distribution inserts(kInsertShare);
    std::vector<ScanStep> steps(kQueryRing);
    for (std::size_t i = 0; i < kQueryRing; ++i) {
        if (inserts(generator)) {
            steps[i] = {presentKey(below(generator, n)) + 1, 0};
            continue;
        }
        const int start = zipfStarts ? hotStarts[i] : static_cast<int>(below(generator, 2 * n));
        steps[i] = {start, 1 + static_cast<int>(below(generator, kLongestShortScan))};
    }
    return steps;
}
