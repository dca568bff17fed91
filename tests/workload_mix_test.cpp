// Workloads a user describes: the RECIPE of a mix read or refused with where
// and why; the steps a mix draws matching its shares and its keys within
// sampling error; a mix and a trace leaving every map as std::map under the
// same operations; the trace reader on good and bad lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "map_kinds.h"
#include "mix_recipe.h"
#include "mix_run.h"
#include "trace.h"

namespace {

IntegerData g_record(1);

double shareOf(const MixRecipe& recipe, MixOperation operation) {
    return recipe.share(operation);
}

TEST(MixRecipe, ReadsOperationsWithTheirSharesScansAndKeys) {
    const MixRecipe recipe = parseMix("find=90,insert=5,scan=5:100,keys=zipf:1.2");
    EXPECT_DOUBLE_EQ(shareOf(recipe, MixOperation::find), 0.9);
    EXPECT_DOUBLE_EQ(shareOf(recipe, MixOperation::scan), 0.05);
    EXPECT_EQ(recipe.longestScan, 100);
    EXPECT_EQ(recipe.keys, KeyDistribution::zipf);
    EXPECT_DOUBLE_EQ(recipe.exponent, 1.2);
    // Shares are normalised to their sum; keys default to uniform.
    const MixRecipe halves = parseMix("find=1,erase=1");
    EXPECT_DOUBLE_EQ(shareOf(halves, MixOperation::erase), 0.5);
    EXPECT_EQ(halves.keys, KeyDistribution::uniform);
    EXPECT_EQ(parseMix("rmw=3,keys=latest").keys, KeyDistribution::latest);
    for (const CoreWorkload& workload : coreWorkloads()) {
        EXPECT_NO_THROW(parseMix(workload.recipe)) << workload.suite;
    }
}

TEST(MixRecipe, RefusesABadRecipeSayingWhereAndWhat) {
    const std::pair<const char*, const char*> bad[] = {
        {"", "an empty mix"},
        {"find", "item 1 ('find'): an item reads NAME=VALUE"},
        {"find=50,lookup=50", "item 2 ('lookup=50'): 'lookup' is neither an operation"},
        {"find=x", "item 1 ('find=x'), the share: 'x' is not a number"},
        {"find=-1", "a share is a positive number"},
        {"find=0", "a share is a positive number"},
        {"find=1,find=2", "item 2 ('find=2'): find is given twice"},
        {"scan=5", "a scan reads scan=SHARE:LONGEST"},
        {"scan=5:0", "the longest scan is a whole number from 1"},
        {"scan=5:2.5", "the longest scan is a whole number from 1"},
        {"find=1,keys=normal", "keys are uniform, zipf"},
        {"find=1,keys=zipf:9", "the exponent lies from 0 to 5"},
        {"find=1,keys=zipf,keys=uniform", "item 3 ('keys=uniform'): keys are given twice"},
        {"keys=zipf", "no operation"},
        {"find=1,", "item 2 (''): an item reads NAME=VALUE"},
        {"find=nan", "'nan' is not a number"},
    };
    for (const auto& [text, message] : bad) {
        try {
            parseMix(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const MixError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos)
                << text << ": " << error.what();
        }
    }
}

// How far a count of k hits in `draws` Bernoulli draws of chance p may lie
// from its mean: five standard deviations.
void expectShare(std::size_t hits, std::size_t draws, double p, const char* what) {
    const double mean = p * static_cast<double>(draws);
    const double sd = std::sqrt(static_cast<double>(draws) * p * (1 - p));
    EXPECT_NEAR(static_cast<double>(hits), mean, 5 * sd + 1) << what;
}

TEST(MixSteps, RealiseTheSharesAndTheKeysWithinSamplingError) {
    const std::size_t n = 1000;
    std::mt19937_64 generator(7);
    const MixRecipe recipe = parseMix("find=60,miss=10,update=20,scan=10:50,keys=uniform");
    const std::vector<MixStep> steps = mixSteps(recipe, n, generator);
    std::vector<std::size_t> byOperation(kMixOperations);
    std::vector<std::size_t> byDecile(10);
    for (const MixStep& step : steps) {
        ++byOperation[static_cast<std::size_t>(step.operation)];
        const bool odd = step.operation == MixOperation::miss;
        EXPECT_EQ(step.key % 2 != 0, odd);
        ++byDecile[static_cast<std::size_t>(step.key / 2) * 10 / n];
        if (step.operation == MixOperation::scan) {
            EXPECT_GE(step.length, 1);
            EXPECT_LE(step.length, 50);
        }
    }
    for (std::size_t op = 0; op < kMixOperations; ++op) {
        expectShare(byOperation[op], steps.size(), recipe.shares[op],
                    operationName(static_cast<MixOperation>(op)));
    }
    for (const std::size_t hits : byDecile) {
        expectShare(hits, steps.size(), 0.1, "a tenth of the keys");
    }
}

TEST(MixSteps, DrawZipfKeysAndLatestOffsetsByPopularity) {
    const std::size_t n = 1000;
    double harmonic = 0;
    for (std::size_t rank = 1; rank <= n; ++rank) {
        harmonic += std::pow(static_cast<double>(rank), -0.99);
    }
    // The latest keys: the offset 0 (the newest) is the most popular.
    std::mt19937_64 generator(11);
    const std::vector<MixStep> latest = mixSteps(parseMix("find=1,keys=latest"), n, generator);
    std::size_t newest = 0;
    for (const MixStep& step : latest) {
        newest += step.key == 0 ? 1 : 0;
    }
    expectShare(newest, latest.size(), 1 / harmonic, "the newest key");
    // Zipf keys: one key, scattered somewhere, draws the top share.
    const std::vector<MixStep> zipf = mixSteps(parseMix("find=1,keys=zipf"), n, generator);
    std::map<int, std::size_t> hits;
    for (const MixStep& step : zipf) {
        ++hits[step.key];
    }
    std::size_t top = 0;
    for (const auto& [key, count] : hits) {
        top = std::max(top, count);
    }
    expectShare(top, zipf.size(), 1 / harmonic, "the hottest key");
}

// Every key of a map through an ordered scan.
std::vector<int> keysOf(const Map& map, const MapScan& scan) {
    std::vector<int> keys;
    scan.visit(map, INT_MIN, kScanAll, [&keys](int key, Data*) { keys.push_back(key); });
    return keys;
}

// The reference: std::map behind Map, its keys and its scan in the open.
class ReferenceMap : public Map {
public:
    int size() const override { return static_cast<int>(m_entries.size()); }
    bool insert(int key, Data* data) override { return m_entries.emplace(key, data).second; }
    bool erase(int key) override { return m_entries.erase(key) > 0; }
    bool member(int key) const override { return m_entries.count(key) > 0; }
    Data* find(int key) const override {
        const auto found = m_entries.find(key);
        return found == m_entries.end() ? nullptr : found->second;
    }
    void print() const override {}

    std::vector<int> keys() const {
        std::vector<int> keys;
        for (const auto& entry : m_entries) {
            keys.push_back(entry.first);
        }
        return keys;
    }
    static int scan(const Map& map, int from, int count, ScanTally& tally) {
        const auto& entries = static_cast<const ReferenceMap&>(map).m_entries;
        int passed = 0;
        for (auto at = entries.lower_bound(from); at != entries.end() && passed < count; ++at) {
            tally.add(at->first, at->second);
            ++passed;
        }
        return passed;
    }

private:
    std::map<int, Data*> m_entries;
};

// A map of the n present keys.
std::unique_ptr<Map> loaded(std::unique_ptr<Map> map, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        map->insert(presentKey(i), &g_record);
    }
    return map;
}

struct RunEach {
    template <typename Call>
    void operator()(MixOperation, Call&& call) const {
        call();
    }
};

TEST(MixRun, LeavesEveryMapAsStdMapUnderTheSameSteps) {
    const std::size_t n = 300;
    for (const char* text :
         {"find=30,insert=30,erase=30,rmw=10,keys=uniform",
          "find=80,insert=10,erase=10,keys=latest", "find=50,insert=25,erase=25,keys=ascending",
          "find=50,insert=25,erase=25,keys=descending",
          "scan=50:20,insert=25,erase=25,keys=zipf"}) {
        const MixRecipe recipe = parseMix(text);
        std::mt19937_64 generator(3);
        const std::vector<MixStep> steps = mixSteps(recipe, n, generator);
        std::unique_ptr<Map> reference = loaded(std::make_unique<ReferenceMap>(), n);
        MixRun expected(*reference, n, recipe, steps.data(), &g_record, ReferenceMap::scan);
        for (int i = 0; i < 20000; ++i) {
            expected.step(RunEach{});
        }
        const std::vector<int> keys = static_cast<const ReferenceMap&>(*reference).keys();
        for (const MapVariant& variant : mapVariants({3, 64})) {
            if (!variant.kind->scan) {
                continue;
            }
            std::unique_ptr<Map> map = loaded(variant.make(), n);
            MixRun run(*map, n, recipe, steps.data(), &g_record, variant.kind->scan.tally);
            for (int i = 0; i < 20000; ++i) {
                run.step(RunEach{});
            }
            EXPECT_EQ(keysOf(*map, variant.kind->scan), keys) << text << " on " << variant;
            EXPECT_EQ(run.visited(), expected.visited()) << text << " on " << variant;
            EXPECT_EQ(variant.check(*map), "") << text << " on " << variant;
        }
    }
}

TEST(MixRun, KeysInOrderDriftAtMostATwentiethOfTheMapAndComeBackAsLoaded) {
    const std::size_t n = 10000;  // a twentieth: 500 keys
    for (const char* text : {"find=95,insert=5,keys=latest", "find=50,insert=50,keys=ascending",
                             "find=40,insert=20,erase=40,keys=ascending",
                             "find=40,insert=40,erase=20,keys=descending"}) {
        const MixRecipe recipe = parseMix(text);
        std::mt19937_64 generator(5);
        const std::vector<MixStep> steps = mixSteps(recipe, n, generator);
        std::unique_ptr<Map> map = loaded(std::make_unique<ReferenceMap>(), n);
        const std::vector<int> keys = static_cast<const ReferenceMap&>(*map).keys();
        MixRun run(*map, n, recipe, steps.data(), &g_record, ReferenceMap::scan);
        std::size_t restores = 0;
        for (int i = 0; i < 200000; ++i) {
            run.step(RunEach{});
            if (run.drifted()) {
                run.restore();
                ++restores;
                ASSERT_EQ(static_cast<const ReferenceMap&>(*map).keys(), keys) << text;
            }
            ASSERT_LE(std::abs(map->size() - static_cast<int>(n)), 501) << text;
        }
        EXPECT_GT(restores, 0u) << text;
    }
}

TEST(MixRun, KeysInOrderStopAtTheEndOfTheIntsInsteadOfWrappingRound) {
    constexpr int kMost = std::numeric_limits<int>::max();
    constexpr int kLeast = std::numeric_limits<int>::min();
    int newest = kMost - 3;
    EXPECT_EQ(movedKey(newest, 2), kMost - 1);
    EXPECT_EQ(movedKey(newest, 2), kMost - 1);
    int lowest = kLeast + 2;
    EXPECT_EQ(movedKey(lowest, -2), kLeast);
    EXPECT_EQ(movedKey(lowest, -2), kLeast);
    EXPECT_EQ(movedKey(lowest, 2), kLeast + 2);
}

Trace traceOf(const std::string& text, std::size_t most = kMostTraceOperations) {
    std::istringstream in(text);
    return readTrace(in, most);
}

TEST(Trace, ReadsALoadSectionAndItsOperations) {
    const Trace trace = traceOf(
        "# a comment\nload\ni 4\ni -2  # keys may be negative\nrun\n\nf 4\ne -2\nu 4\ns 0 3\n"
        "i 2147483647\n");
    EXPECT_EQ(trace.load, (std::vector<int>{4, -2}));
    ASSERT_EQ(trace.steps.size(), 5u);
    EXPECT_EQ(trace.steps[3].operation, TraceOperation::scan);
    EXPECT_EQ(trace.steps[3].count, 3);
    EXPECT_EQ(trace.steps[4].key, 2147483647);
    EXPECT_TRUE(trace.scans);
    EXPECT_TRUE(traceOf("f 1\n").load.empty());
}

TEST(Trace, RefusesABadLineWithItsNumber) {
    const std::pair<const char*, const char*> bad[] = {
        {"f 1\nx 2\n", "line 2: 'x' is no operation"},
        {"f\n", "line 1: 'f' takes one key"},
        {"f 1 2\n", "line 1: 'f' takes one key"},
        {"s 1\n", "line 1: 's' takes a key and a count"},
        {"s 1 0\n", "line 1: the count '0' is not a whole number from 1"},
        {"f 2147483648\n", "line 1: the key '2147483648' is not a whole number"},
        {"f 1x\n", "line 1: the key '1x'"},
        {"load\nf 1\nrun\n", "line 2: the load section holds insertions only"},
        {"load\ni 1\n", "the load section has no `run` line"},
        {"f 1\nload\n", "line 2: `load` opens the load section, which comes first"},
        {"run\n", "line 1: `run` closes a load section, and none is open"},
    };
    for (const auto& [text, message] : bad) {
        try {
            traceOf(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const TraceError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos)
                << text << ": " << error.what();
        }
    }
    EXPECT_THROW(traceOf("f 1\nf 2\nf 3\n", 2), TraceError);
    EXPECT_NO_THROW(traceOf("f 1\nf 2\n", 2));
}

TEST(Trace, AReplayLeavesEveryMapAsStdMap) {
    std::ostringstream text;
    std::mt19937_64 generator(5);
    text << "load\n";
    for (int key = 0; key < 500; key += 3) {
        text << "i " << key << "\n";
    }
    text << "run\n";
    const char* const operations[] = {"i", "f", "e", "u"};
    for (int i = 0; i < 5000; ++i) {
        text << operations[generator() % 4] << " " << static_cast<int>(generator() % 700) - 100
             << "\n";
        if (i % 50 == 0) {
            text << "s " << static_cast<int>(generator() % 600) << " 7\n";
        }
    }
    const Trace trace = traceOf(text.str());
    ScanTally tally;
    ReferenceMap reference;
    load(reference, trace, &g_record);
    const long long seen =
        replay(reference, trace, &g_record, [&tally](const Map& map, int from, int count) {
            return ReferenceMap::scan(map, from, count, tally);
        });
    for (const MapVariant& variant : mapVariants({3, 16})) {
        if (!variant.kind->scan) {
            continue;
        }
        std::unique_ptr<Map> map = variant.make();
        load(*map, trace, &g_record);
        const long long mine =
            replay(*map, trace, &g_record, [&variant, &tally](const Map& m, int from, int count) {
                return variant.kind->scan.tally(m, from, count, tally);
            });
        EXPECT_EQ(mine, seen) << variant;
        EXPECT_EQ(keysOf(*map, variant.kind->scan), reference.keys()) << variant;
        EXPECT_EQ(variant.check(*map), "") << variant;
    }
}

}  // namespace
