// A map added the way README's "Add your own map" shows: one registration,
// after which the shared suites cover it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "map_kinds.h"

namespace {

// Unsorted pairs searched from the front: small, slow and plainly correct.
class ListMap : public Map {
public:
    int size() const override { return static_cast<int>(m_pairs.size()); }
    bool insert(int key, Data* data) override {
        if (position(key) != m_pairs.end()) {
            return false;
        }
        m_pairs.emplace_back(key, data);
        return true;
    }
    bool erase(int key) override {
        const auto found = position(key);
        if (found == m_pairs.end()) {
            return false;
        }
        m_pairs.erase(found);
        return true;
    }
    bool member(int key) const override { return position(key) != m_pairs.end(); }
    Data* find(int key) const override {
        const auto found = position(key);
        return found == m_pairs.end() ? nullptr : found->second;
    }
    void print() const override {}

    // Each key at most once.
    std::string checkInvariants() const {
        std::set<int> keys;
        for (const auto& pair : m_pairs) {
            if (!keys.insert(pair.first).second) {
                return "key " + std::to_string(pair.first) + " held twice";
            }
        }
        return "";
    }

private:
    using Pairs = std::vector<std::pair<int, Data*>>;
    Pairs::const_iterator position(int key) const {
        return std::find_if(m_pairs.begin(), m_pairs.end(),
                            [key](const auto& pair) { return pair.first == key; });
    }
    Pairs::iterator position(int key) {
        return std::find_if(m_pairs.begin(), m_pairs.end(),
                            [key](const auto& pair) { return pair.first == key; });
    }

    Pairs m_pairs;
};

const bool kListMapRegistered = [] {
    registerMapKind({"ListMap", [](int) { return std::make_unique<ListMap>(); },
                     checkerOf(&ListMap::checkInvariants)});
    return true;
}();

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
