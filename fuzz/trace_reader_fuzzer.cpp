// Feeds arbitrary text to the trace reader: it either refuses the text with
// the number of the line at fault, or reads a trace that, replayed on every
// kind of map (the B-tree at orders 3 and 16), leaves each with the keys and
// the finds and scans std::map gives under the same operations.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "map_kinds.h"
#include "trace.h"

namespace {

IntegerData g_record(1);

// The keys from `from` on, at most `count`, of std::map's entries.
int referenceScan(const std::map<int, Data*>& entries, int from, int count) {
    int passed = 0;
    for (auto at = entries.lower_bound(from); at != entries.end() && passed < count; ++at) {
        ++passed;
    }
    return passed;
}

// What the trace's finds and scans see on std::map, and the keys it leaves.
long long referenceReplay(const Trace& trace, std::vector<int>& keys) {
    std::map<int, Data*> entries;
    for (const int key : trace.load) {
        entries.emplace(key, &g_record);
    }
    long long seen = 0;
    for (const TraceStep& step : trace.steps) {
        switch (step.operation) {
            case TraceOperation::insert:
                entries.emplace(step.key, &g_record);
                break;
            case TraceOperation::find:
            case TraceOperation::update:
                seen += step.operation == TraceOperation::find && entries.count(step.key) ? 1 : 0;
                break;
            case TraceOperation::erase:
                entries.erase(step.key);
                break;
            case TraceOperation::scan:
                seen += referenceScan(entries, step.key, step.count);
                break;
        }
    }
    for (const auto& entry : entries) {
        keys.push_back(entry.first);
    }
    return seen;
}

void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Trace trace;
    try {
        trace = readTrace(in, 2000);
    } catch (const TraceError& error) {
        if (std::string(error.what()).rfind("line ", 0) != 0) {
            fail("a refusal without its line", error.what());
        }
        return 0;
    }
    std::vector<int> expected;
    const long long seen = referenceReplay(trace, expected);
    for (const MapVariant& variant : mapVariants({3, 16})) {
        std::unique_ptr<Map> map = variant.make();
        load(*map, trace, &g_record);
        if (!variant.kind->scan && trace.scans) {
            continue;
        }
        ScanTally tally;
        const long long mine =
            replay(*map, trace, &g_record, [&variant, &tally](const Map& m, int from, int count) {
                return variant.kind->scan.tally(m, from, count, tally);
            });
        std::vector<int> keys;
        if (variant.kind->scan) {
            variant.kind->scan.visit(*map, INT_MIN, kScanAll,
                                     [&keys](int key, Data*) { keys.push_back(key); });
        }
        if (mine != seen || (variant.kind->scan && keys != expected) ||
            !variant.check(*map).empty()) {
            fail("a replay that std::map does not match", variant.label());
        }
    }
    return 0;
}
