// A histogram of non-negative 64-bit samples (cycle counts) in log-linear
// buckets: constant memory, allocated once, and O(1) per recorded sample, so
// it can sit beside a timed loop of millions of operations.
//
// Values below kSubBuckets each have a bucket of their own. Above, every
// power of two [2^e, 2^(e+1)) is cut into kSubBuckets equal buckets of width
// 2^(e - kSubBits), so a bucket is never wider than 1/kSubBuckets of its
// lower bound. A percentile is reported as the midpoint of the bucket that
// holds the sample of that rank: it lies within kRelativeError of that
// sample. The minimum and maximum are kept exactly.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

class LogHistogram {
public:
    static constexpr int kSubBits = 6;
    static constexpr std::uint64_t kSubBuckets = std::uint64_t{1} << kSubBits;
    // How far a reported percentile may lie from the sample of its rank,
    // relative to that sample.
    static constexpr double kRelativeError = 1.0 / (2 * kSubBuckets);

    LogHistogram() : m_counts(bucketOf(std::numeric_limits<std::uint64_t>::max()) + 1, 0) {}

    void record(std::uint64_t value) {
        ++m_counts[bucketOf(value)];
        ++m_total;
        m_min = std::min(m_min, value);
        m_max = std::max(m_max, value);
    }

    void clear() {
        std::fill(m_counts.begin(), m_counts.end(), 0);
        m_total = 0;
        m_min = std::numeric_limits<std::uint64_t>::max();
        m_max = 0;
    }

    std::uint64_t count() const { return m_total; }
    std::uint64_t min() const { return m_total ? m_min : 0; }
    std::uint64_t max() const { return m_max; }

    // The sample of rank ceil(percent / 100 * count) in ascending order (the
    // nearest-rank percentile), to within kRelativeError; 0 when empty.
    // Percent 0 gives the minimum and 100 the maximum, exactly.
    double percentile(double percent) const {
        if (m_total == 0) {
            return 0;
        }
        const auto wanted = static_cast<std::uint64_t>(
            std::ceil(std::clamp(percent, 0.0, 100.0) / 100.0 * static_cast<double>(m_total)));
        if (wanted <= 1) {
            return static_cast<double>(min());
        }
        if (wanted >= m_total) {
            return static_cast<double>(m_max);
        }
        std::uint64_t seen = 0;
        for (std::size_t bucket = 0; bucket < m_counts.size(); ++bucket) {
            seen += m_counts[bucket];
            if (seen >= wanted) {
                const double middle = midpoint(bucket);
                return std::clamp(middle, static_cast<double>(m_min), static_cast<double>(m_max));
            }
        }
        return static_cast<double>(m_max);
    }

    static std::size_t bucketOf(std::uint64_t value) {
        if (value < kSubBuckets) {
            return static_cast<std::size_t>(value);
        }
        const int shift = topBit(value) - kSubBits;
        return static_cast<std::size_t>((static_cast<std::uint64_t>(shift) + 1) * kSubBuckets +
                                        ((value >> shift) - kSubBuckets));
    }

private:
    static int topBit(std::uint64_t value) { return 63 - __builtin_clzll(value); }

    // The middle of the values the bucket holds.
    static double midpoint(std::size_t bucket) {
        if (bucket < kSubBuckets) {
            return static_cast<double>(bucket);
        }
        const std::uint64_t shift = bucket / kSubBuckets - 1;
        const std::uint64_t lowest = (kSubBuckets + bucket % kSubBuckets) << shift;
        const double width = std::ldexp(1.0, static_cast<int>(shift));
        return static_cast<double>(lowest) + (width - 1) / 2;
    }

    std::vector<std::uint64_t> m_counts;
    std::uint64_t m_total = 0;
    std::uint64_t m_min = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t m_max = 0;
};
