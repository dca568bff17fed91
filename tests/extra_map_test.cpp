// A map added the way README's "Add your own map" shows: one registration,
// after which the shared suites cover it.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "list_map.h"
#include "map_kinds.h"

namespace {

const bool kListMapRegistered = registerListMap();

// The names of the registered tests of one suite whose parameter is `label`.
std::set<std::string> testsOf(const std::string& suite, const std::string& label) {
    std::set<std::string> names;
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const testing::TestSuite& tests = *unit.GetTestSuite(i);
        if (suite != tests.name()) {
            continue;
        }
        for (int j = 0; j < tests.total_test_count(); ++j) {
            const std::string name = tests.GetTestInfo(j)->name();
            const std::string suffix = "/" + label;
            if (name.size() > suffix.size() &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
                names.insert(name.substr(0, name.size() - suffix.size()));
            }
        }
    }
    return names;
}

}  // namespace

TEST(AddedMap, JoinsTheListAfterTheBuiltInMaps) {
    ASSERT_TRUE(kListMapRegistered);
    std::vector<std::string> names;
    for (const MapKind& kind : mapKinds()) {
        names.push_back(kind.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"VectorMap", "BTree", "AVLBinaryTree", "ListMap"}));
}

TEST(AddedMap, RunsEveryContractAndDifferentialTest) {
    const std::set<std::string> forListMap = testsOf("AllMaps/MapContract", "ListMap");
    EXPECT_EQ(forListMap, testsOf("AllMaps/MapContract", "AVLBinaryTree"));
    EXPECT_EQ(forListMap.count("MatchesStdMapOnWideKeyRange"), 1u);
    EXPECT_GE(forListMap.size(), 9u);
}

TEST(AddedMap, RunsEveryScanTestWithTheScanItRegistered) {
    const std::set<std::string> forListMap = testsOf("ScannableMaps/MapScan", "ListMap");
    EXPECT_EQ(forListMap, testsOf("ScannableMaps/MapScan", "AVLBinaryTree"));
    EXPECT_GE(forListMap.size(), 4u);
}
