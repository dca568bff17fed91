// binary_search against a literal transcription of the textbook loop (probe
// the middle, move a bound past it, stop on a hit), on many random arrays of
// strictly ascending keys and on the edge cases.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <vector>

#include "vector_map.h"

namespace {

int textbookSearch(const VEntry* entries, int lo, int hi, int key) {
    while (lo <= hi) {
        const int mid = static_cast<int>((static_cast<long long>(lo) + hi) / 2);
        if (key > entries[mid].key) {
            lo = mid + 1;
        } else if (key < entries[mid].key) {
            hi = mid - 1;
        } else {
            return mid;
        }
    }
    return -(lo + 1);
}

std::vector<VEntry> ascending(const std::set<int>& keys) {
    std::vector<VEntry> entries;
    for (int key : keys) {
        entries.push_back(VEntry{key, nullptr});
    }
    return entries;
}

// Every key present, the keys beside each, the extremes, and every sub-range
// [lo, hi] with lo, hi drawn near both ends and the middle.
void expectSameAsTextbook(const std::vector<VEntry>& entries, std::mt19937& random) {
    const int size = static_cast<int>(entries.size());
    std::vector<int> probes = {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX};
    for (const VEntry& entry : entries) {
        probes.push_back(entry.key);
        if (entry.key > INT_MIN) {
            probes.push_back(entry.key - 1);
        }
        if (entry.key < INT_MAX) {
            probes.push_back(entry.key + 1);
        }
    }
    std::vector<std::pair<int, int>> ranges = {{0, size - 1}, {0, -1}, {size, size - 1}};
    for (int i = 0; i < 6 && size > 0; ++i) {
        const int lo = static_cast<int>(random() % size);
        const int hi = lo + static_cast<int>(random() % (size - lo));
        ranges.emplace_back(lo, hi);
        ranges.emplace_back(lo, lo - 1);
    }
    for (const auto& [lo, hi] : ranges) {
        for (int key : probes) {
            ASSERT_EQ(binary_search(entries.data(), lo, hi, key),
                      textbookSearch(entries.data(), lo, hi, key))
                << "size " << size << " range " << lo << ".." << hi << " key " << key;
        }
    }
}

}  // namespace

TEST(BinarySearch, AgreesWithTheTextbookLoopOnRandomArrays) {
    std::mt19937 random(2026);
    for (int size = 0; size <= 300; ++size) {
        for (int round = 0; round < 3; ++round) {
            std::uniform_int_distribution<int> keys =
                round == 0 ? std::uniform_int_distribution<int>(-size, 3 * size + 3)
                           : std::uniform_int_distribution<int>(INT_MIN, INT_MAX);
            std::set<int> chosen;
            while (static_cast<int>(chosen.size()) < size) {
                chosen.insert(keys(random));
            }
            expectSameAsTextbook(ascending(chosen), random);
        }
    }
}

TEST(BinarySearch, AgreesWithTheTextbookLoopAtTheEdges) {
    std::mt19937 random(7);
    expectSameAsTextbook({}, random);
    expectSameAsTextbook(ascending({INT_MIN}), random);
    expectSameAsTextbook(ascending({INT_MAX}), random);
    expectSameAsTextbook(ascending({INT_MIN, INT_MAX}), random);
    expectSameAsTextbook(ascending({INT_MIN, -1, 0, 1, INT_MAX}), random);
    std::set<int> powers;
    for (int bit = 0; bit < 31; ++bit) {
        powers.insert(1 << bit);
        powers.insert(-(1 << bit));
    }
    expectSameAsTextbook(ascending(powers), random);
}
