// The benchmarks and the instruction counts run the program's own workload:
// a DriverSession makes exactly the map calls that timeMap makes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "driver_session.h"
#include "recording_map.h"
#include "stdout_capture.h"

namespace {

constexpr int kRecords = 40;
constexpr int kSmallBatch = 7;
constexpr int kBatches = 3;

// The calls timeMap makes with the program's default seed.
std::vector<std::string> driverCalls(int iter, int phases) {
    std::srand(kProgramSeed);
    const std::unique_ptr<IntegerData[]> records = generateRandomData(kRecords);
    RecordingMap map;
    captureStdout([&] { timeMap(records.get(), kRecords, iter, &map, 0, phases); });
    return map.log;
}

}  // namespace

TEST(DriverSession, FindBatchesMakeTheFindPhasesCalls) {
    RecordingMap map;
    DriverSession session(map, kRecords);
    session.fill();
    for (int batch = 0; batch < kBatches; ++batch) {
        session.finds(kSmallBatch);
    }
    std::vector<std::string> expected = driverCalls(kSmallBatch * kBatches, 1);
    expected.resize(expected.size() - kRecords);  // the program then empties the map
    EXPECT_EQ(map.log, expected);
}

TEST(DriverSession, MixBatchesMakeTheMixPhasesCalls) {
    RecordingMap map;
    DriverSession session(map, kRecords);
    session.startMix();
    for (int batch = 0; batch < kBatches; ++batch) {
        session.mix(kSmallBatch);
    }
    EXPECT_EQ(map.log, driverCalls(kRecords + kSmallBatch * kBatches, 2));
}

// As map_counts runs it: the program's both phases, with iter finds and
// iter mix steps of which the first kRecords are the untimed warm-up.
TEST(DriverSession, FindsThenMixMakeTheWholeProgramsCalls) {
    const int iter = kRecords + kSmallBatch;
    RecordingMap map;
    DriverSession session(map, kRecords);
    session.fill();
    session.finds(iter);
    session.startMixAfterFinds();
    session.mix(kSmallBatch);
    EXPECT_EQ(map.log, driverCalls(iter, 0));
}

// map_latency times the same calls one at a time.
TEST(DriverSession, OneCallAtATimeMakesTheProgramsCalls) {
    const int iter = kRecords + kSmallBatch;
    RecordingMap map;
    DriverSession session(map, kRecords);
    int calls = 0;
    const auto each = [&calls](auto call) {
        ++calls;
        call();
    };
    session.fillEach(each);
    session.findsEach(iter, each);
    session.empty();
    session.mixEach(kRecords, each);
    session.mixEach(kSmallBatch, each);
    EXPECT_EQ(map.log, driverCalls(iter, 0));
    EXPECT_EQ(calls, kRecords + iter + kRecords + kSmallBatch);
}
