// A trace of map operations that a user replays on every map, one a line:
//
//   i KEY         insert KEY (its record is the trace's own)
//   f KEY         find KEY
//   e KEY         erase KEY
//   u KEY         update: find KEY and write the record it returns
//   s KEY COUNT   scan COUNT entries (1 to 1000000) from KEY on
//
// KEY is a 32-bit signed integer in decimal. Blank lines and everything
// after a '#' are skipped. An optional load section comes first: a line
// `load`, then `i KEY` lines whose keys are inserted untimed before each
// replay, then a line `run`. The whole trace is read and decoded before
// anything is timed; a trace of more than kMostTraceOperations lines of
// operations is refused, so that its decoded form (12 bytes an operation)
// stays within about 240 MB.
#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "map_interface.h"

enum class TraceOperation : std::uint8_t { insert, find, erase, update, scan };

struct TraceStep {
    TraceOperation operation;
    int key;
    int count;  // of a scan
};

struct Trace {
    std::vector<int> load;          // inserted untimed before each replay
    std::vector<TraceStep> steps;   // replayed and timed
    bool scans = false;             // whether any step scans
};

constexpr std::size_t kMostTraceOperations = 20000000;
constexpr int kLongestTraceScan = 1000000;

// A line the reader cannot take: "line 12: ..." says which and why.
class TraceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole trace, or throws TraceError at the first bad line; a trace
// of more than `most` operations is refused.
Trace readTrace(std::istream& in, std::size_t most = kMostTraceOperations);

// The trace's load section inserted into `map`, each key with `record`.
inline void load(Map& map, const Trace& trace, Data* record) {
    for (const int key : trace.load) {
        map.insert(key, record);
    }
}

// Replays the trace's steps on `map`: insertions with `record`, an update
// writing back the value its record holds, scans through `scan(map, from,
// count)`. Returns what the finds and scans saw, summed, so that no step can
// be optimised away.
template <typename Scan>
long long replay(Map& map, const Trace& trace, Data* record, Scan&& scan) {
    long long seen = 0;
    for (const TraceStep& step : trace.steps) {
        switch (step.operation) {
            case TraceOperation::insert:
                map.insert(step.key, record);
                break;
            case TraceOperation::find:
                seen += map.find(step.key) != nullptr ? 1 : 0;
                break;
            case TraceOperation::erase:
                map.erase(step.key);
                break;
            case TraceOperation::update:
                if (Data* found = map.find(step.key)) {
                    volatile int& value = static_cast<IntegerData*>(found)->value;
                    value = value;
                }
                break;
            case TraceOperation::scan:
                seen += scan(map, step.key, step.count);
                break;
        }
    }
    return seen;
}
