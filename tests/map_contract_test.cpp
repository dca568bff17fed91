// The Map contract, checked on every implementation alike, and a
// differential test of each against std::map over long random operation
// sequences.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>

#include "step_counts.h"
#include "tested_maps.h"

namespace {

class MapContract : public testing::TestWithParam<MapVariant> {
protected:
    void SetUp() override { map = GetParam().make(); }
    void expectSound() { EXPECT_EQ(GetParam().check(*map), ""); }

    std::unique_ptr<Map> map;
    IntegerData first{1};
    IntegerData second{2};
};

TEST_P(MapContract, EmptyMapHoldsNothing) {
    EXPECT_EQ(map->size(), 0);
    EXPECT_EQ(map->find(7), nullptr);
    EXPECT_FALSE(map->member(7));
    EXPECT_FALSE(map->erase(7));
    expectSound();
}

TEST_P(MapContract, DuplicateInsertKeepsFirstPayload) {
    EXPECT_TRUE(map->insert(5, &first));
    EXPECT_FALSE(map->insert(5, &second));
    EXPECT_EQ(map->size(), 1);
    EXPECT_EQ(map->find(5), &first);
    expectSound();
}

TEST_P(MapContract, EraseTwiceSucceedsOnce) {
    map->insert(5, &first);
    EXPECT_TRUE(map->erase(5));
    EXPECT_FALSE(map->erase(5));
    EXPECT_EQ(map->size(), 0);
    EXPECT_FALSE(map->member(5));
    expectSound();
}

TEST_P(MapContract, NullPayloadCountsAsPresent) {
    EXPECT_TRUE(map->insert(9, nullptr));
    EXPECT_TRUE(map->member(9));
    EXPECT_EQ(map->find(9), nullptr);
    EXPECT_EQ(map->size(), 1);
    EXPECT_TRUE(map->erase(9));
    EXPECT_FALSE(map->member(9));
}

TEST_P(MapContract, NegativeAndExtremeKeysBehaveLikeAnyOther) {
    const int keys[] = {-1, INT_MIN, INT_MAX, -2, 0, -1000000, 1};
    for (int key : keys) {
        EXPECT_TRUE(map->insert(key, &first)) << key;
    }
    expectSound();
    for (int key : keys) {
        EXPECT_TRUE(map->member(key)) << key;
        EXPECT_EQ(map->find(key), &first) << key;
    }
    for (int key : keys) {
        EXPECT_TRUE(map->erase(key)) << key;
        EXPECT_FALSE(map->member(key)) << key;
        expectSound();
    }
    EXPECT_EQ(map->size(), 0);
}

TEST_P(MapContract, DestroyingAFullMapLeavesRecordsIntact) {
    std::vector<IntegerData> records(200);
    for (int i = 0; i < 200; ++i) {
        records[i] = i * 7 % 200;
        map->insert(records[i].value, &records[i]);
    }
    map.reset();
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(records[i].value, i * 7 % 200);
    }
}

TEST_P(MapContract, RefillsAfterBeingEmptied) {
    for (int round = 0; round < 3; ++round) {
        for (int key = 0; key < 100; ++key) {
            ASSERT_TRUE(map->insert((key * 37) % 100, &first));
        }
        EXPECT_EQ(map->size(), 100);
        for (int key = 0; key < 100; ++key) {
            ASSERT_TRUE(map->erase((key * 53) % 100));
        }
        EXPECT_EQ(map->size(), 0);
        expectSound();
    }
}

// One random operation sequence run on the map under test and on std::map,
// every result compared and the map's invariants checked after each step.
void runDifferential(const MapVariant& kind, unsigned seed, int operations,
                     std::uniform_int_distribution<int> keys) {
    std::mt19937 random(seed);
    std::vector<IntegerData> payloads(16);
    std::unique_ptr<Map> map = kind.make();
    std::map<int, Data*> reference;
    for (int step = 0; step < operations; ++step) {
        const int key = keys(random);
        const int choice = static_cast<int>(random() % 10);
        SCOPED_TRACE("step " + std::to_string(step) + " key " + std::to_string(key) +
                     " operation " + std::to_string(choice));
        if (choice < 4) {
            Data* payload = random() % 8 == 0 ? nullptr : &payloads[random() % payloads.size()];
            ASSERT_EQ(map->insert(key, payload), reference.emplace(key, payload).second);
        } else if (choice < 8) {
            ASSERT_EQ(map->erase(key), reference.erase(key) == 1);
        } else if (choice == 8) {
            auto found = reference.find(key);
            ASSERT_EQ(map->find(key), found == reference.end() ? nullptr : found->second);
        } else {
            ASSERT_EQ(map->member(key), reference.count(key) == 1);
        }
        ASSERT_EQ(map->size(), static_cast<int>(reference.size()));
        ASSERT_EQ(kind.check(*map), "");
    }
    for (const auto& [key, payload] : reference) {
        ASSERT_TRUE(map->member(key)) << key;
        ASSERT_EQ(map->find(key), payload) << key;
    }
}

TEST_P(MapContract, MatchesStdMapOnSmallKeyRange) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        runDifferential(GetParam(), seed, 3000, std::uniform_int_distribution<int>(-5, 60));
    }
}

TEST_P(MapContract, MatchesStdMapOnWideKeyRange) {
    runDifferential(GetParam(), 7, 3000, std::uniform_int_distribution<int>(INT_MIN, INT_MAX));
}

TEST_P(MapContract, MatchesStdMapWhileGrowingLarge) {
    runDifferential(GetParam(), 11, 2000, std::uniform_int_distribution<int>(0, 2000));
}

// The maps the program and the benchmarks time count none of their steps:
// only the measurement build keeps those counts.
TEST_P(MapContract, TheTimedBuildCountsNoSteps) {
    runDifferential(GetParam(), 13, 2000, std::uniform_int_distribution<int>(0, 300));
    const MapEvents& events = mapEvents();
    EXPECT_FALSE(kCountEvents);
    EXPECT_EQ(events.splits + events.borrows + events.merges + events.rotations +
                  events.replacements + events.slabs + events.moved,
              0u);
}

INSTANTIATE_TEST_SUITE_P(AllMaps, MapContract, testing::ValuesIn(testedMaps()),
                         [](const testing::TestParamInfo<MapVariant>& info) {
                             return info.param.label();
                         });

}  // namespace
