// The ordered scans of every kind that has one, against std::map's
// lower_bound walk: from before the first key, between keys, on a key and
// past the last; counts of none, one, a node's worth and all; after
// insertions and erasures that split, merge, borrow and rotate; over the
// whole 32-bit key range.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "tested_maps.h"

namespace {

using Entries = std::vector<std::pair<int, Data*>>;

std::vector<MapVariant> scannableMaps() {
    std::vector<MapVariant> scannable;
    for (const MapVariant& variant : testedMaps()) {
        if (variant.kind->scan) {
            scannable.push_back(variant);
        }
    }
    return scannable;
}

Entries expectedScan(const std::map<int, Data*>& reference, int from, int count) {
    Entries entries;
    for (auto at = reference.lower_bound(from);
         at != reference.end() && static_cast<int>(entries.size()) < count; ++at) {
        entries.push_back(*at);
    }
    return entries;
}

class MapScan : public testing::TestWithParam<MapVariant> {
protected:
    void SetUp() override { map = GetParam().make(); }

    void insert(int key) {
        Data* payload = &records[static_cast<unsigned>(key) % kRecords];
        map->insert(key, payload);
        reference.emplace(key, payload);
    }
    void erase(int key) {
        map->erase(key);
        reference.erase(key);
    }

    // The scan's entries and returned count, and its tally, against the
    // reference walk.
    void expectScan(int from, int count) {
        const ::MapScan& scan = GetParam().kind->scan;
        Entries seen;
        const int visited = scan.visit(
            *map, from, count, [&seen](int key, Data* data) { seen.emplace_back(key, data); });
        const Entries expected = expectedScan(reference, from, count);
        ASSERT_EQ(seen, expected) << "from " << from << ", count " << count;
        EXPECT_EQ(visited, static_cast<int>(expected.size()));

        ScanTally tally;
        ScanTally expectedTally;
        for (const auto& [key, data] : expected) {
            expectedTally.add(key, data);
        }
        EXPECT_EQ(scan.tally(*map, from, count, tally), visited);
        EXPECT_EQ(tally.keySum, expectedTally.keySum);
        EXPECT_EQ(tally.payloadSum, expectedTally.payloadSum);
    }

    // Every kind of start point, each with counts from none to all.
    void expectEveryScan() {
        std::vector<int> starts = {INT_MIN, INT_MAX, -1, 0};
        for (const auto& entry : reference) {
            starts.push_back(entry.first);
            if (entry.first < INT_MAX) {
                starts.push_back(entry.first + 1);  // between keys, or past the last
            }
        }
        const int node = GetParam().order > 0 ? GetParam().order - 1 : 7;
        for (int from : starts) {
            for (int count : {-1, 0, 1, 2, node, node + 1, 3 * node, kScanAll}) {
                expectScan(from, count);
            }
        }
    }

    static constexpr unsigned kRecords = 8;
    IntegerData records[kRecords];
    std::unique_ptr<Map> map;
    std::map<int, Data*> reference;
};

TEST_P(MapScan, EmptyMapVisitsNothing) {
    expectEveryScan();
    expectScan(INT_MIN, kScanAll);
}

TEST_P(MapScan, EveryStartAndCountOnAFilledMap) {
    for (int key = -60; key <= 120; key += 3) {
        insert(key);
    }
    insert(INT_MIN);
    insert(INT_MAX);
    expectEveryScan();
}

// Insertions in order split nodes and rotate; erasures in order and from the
// middle merge, borrow and rotate back.
TEST_P(MapScan, FollowsEverySplitMergeBorrowAndRotation) {
    for (int key = 0; key < 200; ++key) {
        insert(key);
        expectScan(key - 2, 5);
    }
    expectEveryScan();
    for (int key = 0; key < 200; key += 2) {
        erase(key);
        expectScan(key, 4);
    }
    for (int key = 199; key > 100; key -= 2) {
        erase(key);
        expectScan(key - 6, 4);
    }
    expectEveryScan();
    EXPECT_EQ(GetParam().check(*map), "");
}

TEST_P(MapScan, MatchesStdMapOverRandomOperations) {
    std::mt19937 generator(20261208);
    std::uniform_int_distribution<int> narrow(-300, 300);
    std::uniform_int_distribution<int> wide(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> counts(0, 40);
    for (int step = 0; step < 4000; ++step) {
        const int key = step % 5 == 0 ? wide(generator) : narrow(generator);
        if (generator() % 3 == 0) {
            erase(key);
        } else {
            insert(key);
        }
        if (step % 7 == 0) {
            expectScan(narrow(generator), counts(generator));
            expectScan(wide(generator), counts(generator));
        }
        if (step % 500 == 0) {
            expectScan(INT_MIN, kScanAll);
            ASSERT_EQ(GetParam().check(*map), "");
        }
    }
    expectEveryScan();
}

INSTANTIATE_TEST_SUITE_P(ScannableMaps, MapScan, testing::ValuesIn(scannableMaps()),
                         [](const testing::TestParamInfo<MapVariant>& info) {
                             return info.param.label();
                         });

TEST(MapScanKinds, EveryBuiltInKindScans) {
    for (const char* name : {"VectorMap", "BTree", "AVLBinaryTree"}) {
        const MapKind* kind = findMapKind(name);
        ASSERT_NE(kind, nullptr) << name;
        EXPECT_TRUE(static_cast<bool>(kind->scan)) << name;
    }
}

}  // namespace
