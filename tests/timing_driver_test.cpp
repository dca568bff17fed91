#include "timing_driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "driver_program.h"
#include "recording_map.h"
#include "stdout_capture.h"
#include "vector_map.h"

namespace {

// Durations vary from run to run; everything else is compared exactly.
std::string maskDurations(const std::string& text) {
    static const std::regex number("-?[0-9]+(\\.[0-9]+)?(e[-+][0-9]+)?");
    return std::regex_replace(text, number, "#");
}

Settings quietSettings(int selector) {
    Settings settings;
    settings.mapSelector = selector;
    settings.recordCount = 3;
    settings.iterations = 2;
    return settings;
}

}  // namespace

TEST(TimevalDiff, BorrowsWhenMicrosecondsWrap) {
    timeval end{5, 200};
    timeval start{3, 800};
    EXPECT_DOUBLE_EQ(timeval_diff(&end, &start), 1.9994);
    EXPECT_EQ(start.tv_sec, 4);
    EXPECT_EQ(start.tv_usec, -999200);
}

TEST(TimevalDiff, CarriesMoreThanOneSecondOfMicroseconds) {
    timeval end{5, 100};
    timeval start{2, -1500000};
    EXPECT_DOUBLE_EQ(timeval_diff(&end, &start), 4.5001);
    EXPECT_EQ(start.tv_sec, 1);
    EXPECT_EQ(start.tv_usec, -500000);
}

TEST(TimevalDiff, PlainDifferenceLeavesStartAlone) {
    timeval end{10, 750000};
    timeval start{10, 250000};
    EXPECT_DOUBLE_EQ(timeval_diff(&end, &start), 0.5);
    EXPECT_EQ(start.tv_sec, 10);
    EXPECT_EQ(start.tv_usec, 250000);
}

TEST(GenerateRandomData, TakesSuccessiveRandValuesUnscaled) {
    std::srand(123);
    const int first = std::rand();
    const int second = std::rand();
    std::srand(123);
    const std::unique_ptr<IntegerData[]> records = generateRandomData(2);
    EXPECT_EQ(records[0].value, first);
    EXPECT_EQ(records[1].value, second);
}

TEST(TimeMap, RunsFillDumpFindsEmptyAndMixInOrder) {
    IntegerData records[3] = {IntegerData(30), IntegerData(10), IntegerData(20)};
    std::srand(99);
    std::vector<std::string> expected = {"insert 30", "insert 10", "insert 20", "print"};
    for (int i = 0; i < 2; ++i) {
        expected.push_back("find " + std::to_string(records[std::rand() % 3].value));
    }
    expected.insert(expected.end(), {"erase 30", "erase 10", "erase 20"});
    for (int i = 0; i < 2; ++i) {
        const int key = records[std::rand() % 3].value;
        expected.push_back((std::rand() % 2 == 1 ? "erase " : "insert ") + std::to_string(key));
    }

    std::srand(99);
    RecordingMap map;
    const std::string output = captureStdout([&] { timeMap(records, 3, 2, &map, 2, 0); });
    EXPECT_EQ(map.log, expected);
    EXPECT_EQ(maskDurations(output),
              "Time for iter random finds: # seconds\n"
              "Time for iter random insertions and erasures: # seconds\n"
              "#, #\n");
}

TEST(TimeMap, PhaseSelectorChoosesTheTimedPhases) {
    IntegerData records[2] = {IntegerData(1), IntegerData(2)};
    RecordingMap map;
    EXPECT_EQ(maskDurations(captureStdout([&] { timeMap(records, 2, 5, &map, 1, 1); })),
              "Time for iter random finds: # seconds\n#, #\n");
    EXPECT_EQ(maskDurations(captureStdout([&] { timeMap(records, 2, 5, &map, 1, 2); })),
              "Time for iter random insertions and erasures: # seconds\n#, #\n");
    map.log.clear();
    EXPECT_EQ(captureStdout([&] { timeMap(records, 2, 5, &map, 1, 3); }), "0, 0\n");
    EXPECT_EQ(map.log, (std::vector<std::string>{"insert 1", "insert 2", "erase 1", "erase 2"}));
}

TEST(TimeMap, OutputLevelZeroWritesOnlyTheSummary) {
    IntegerData records[1] = {IntegerData(4)};
    RecordingMap map;
    EXPECT_EQ(maskDurations(captureStdout([&] { timeMap(records, 1, 3, &map, 0, 0); })), "#, #\n");
}

TEST(TimeMap, NoRecordsMeansNoDrawsAndNoMapCalls) {
    std::srand(5);
    const int firstDraw = std::rand();
    std::srand(5);
    RecordingMap map;
    const std::string output = captureStdout([&] { timeMap(nullptr, 0, 1000, &map, 1, 0); });
    EXPECT_TRUE(map.log.empty());
    EXPECT_EQ(std::rand(), firstDraw);
    EXPECT_EQ(maskDurations(output),
              "Time for iter random finds: # seconds\n"
              "Time for iter random insertions and erasures: # seconds\n"
              "#, #\n");
}

// Three recording maps in the driver's places, and three records.
class TimeSelectedMaps : public testing::Test {
protected:
    MapsByKind maps() {
        return {{"VectorMap", &vectorMap}, {"BTree", &btreeMap}, {"AVLBinaryTree", &avlMap}};
    }

    IntegerData records[3] = {IntegerData(1), IntegerData(2), IntegerData(3)};
    RecordingMap vectorMap;
    RecordingMap btreeMap;
    RecordingMap avlMap;
};

TEST_F(TimeSelectedMaps, ThrownMessageIsWrittenAndLaterMapsSkipped) {
    vectorMap.throwOnInsert = 2;
    const std::string output =
        captureStdout([&] { timeSelectedMaps(quietSettings(0), records, maps()); });
    EXPECT_EQ(output, "**** Timing Vector implementation...\nplanned failure of a recording map\n");
    EXPECT_TRUE(btreeMap.log.empty());
    EXPECT_TRUE(avlMap.log.empty());
}

TEST_F(TimeSelectedMaps, SelectorOutsideTheTableTimesNothing) {
    for (int selector : {5, -1}) {
        EXPECT_EQ(
            captureStdout([&] { timeSelectedMaps(quietSettings(selector), records, maps()); }), "");
    }
    EXPECT_TRUE(vectorMap.log.empty());
}

TEST_F(TimeSelectedMaps, BTreeMessageSkipsTheAvlTree) {
    btreeMap.throwOnInsert = 3;
    const std::string output =
        captureStdout([&] { timeSelectedMaps(quietSettings(0), records, maps()); });
    EXPECT_EQ(maskDurations(output),
              "**** Timing Vector implementation...\n"
              "Time for iter random finds: # seconds\n"
              "Time for iter random insertions and erasures: # seconds\n"
              "#, #\n"
              "**** Timing BTree implementation...\n"
              "planned failure of a recording map\n");
    EXPECT_EQ(btreeMap.log.size(), 3u);
    EXPECT_TRUE(avlMap.log.empty());
}

TEST_F(TimeSelectedMaps, SelectorFourTimesTheTwoTrees) {
    Settings settings = quietSettings(4);
    settings.outputLevel = 0;
    EXPECT_EQ(maskDurations(captureStdout([&] { timeSelectedMaps(settings, records, maps()); })),
              "#, #\n#, #\n");
    EXPECT_TRUE(vectorMap.log.empty());
    EXPECT_FALSE(btreeMap.log.empty());
    EXPECT_FALSE(avlMap.log.empty());
}

TEST(DriverMaps, CreatesTheThreeMapsWithTheBTreeDiagnosticsOnStandardOutput) {
    const DriverMaps maps(5);
    const MapsByKind byKind = maps.byKind();
    ASSERT_EQ(byKind.size(), 3u);
    const auto* btree = dynamic_cast<const BTree*>(byKind.at("BTree"));
    ASSERT_NE(btree, nullptr);
    EXPECT_EQ(btree->root()->capacity(), 6);
    EXPECT_EQ(btree->root_tracker().m_diagnostics, &std::cout);
    EXPECT_NE(dynamic_cast<const AVLBinaryTree*>(byKind.at("AVLBinaryTree")), nullptr);
    EXPECT_NE(dynamic_cast<const VectorMap*>(byKind.at("VectorMap")), nullptr);
}

TEST(DriverMaps, EverySelectedKindIsOneTheProgramCreates) {
    const MapsByKind byKind = DriverMaps(3).byKind();
    for (int selector = -1; selector <= 5; ++selector) {
        for (const std::string& kind : selectedKinds(selector)) {
            EXPECT_EQ(byKind.count(kind), 1u) << kind;
        }
    }
    EXPECT_EQ(selectedKinds(4), (std::vector<std::string>{"BTree", "AVLBinaryTree"}));
}
