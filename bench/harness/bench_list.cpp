#include "bench_list.h"

#include <set>

#include "constants.h"
#include "json_writer.h"
#include "map_kinds.h"

namespace {

void writeContender(JsonWriter& json, const Contender& c) {
    json.beginObject()
        .member("name", c.name)
        .member("role", roleName(c.role))
        .member("peer", c.peer)
        .member("kind", c.kind)
        .member("order", c.order)
        .member("quadratic_fill", c.quadraticFill)
        .member("scans", static_cast<bool>(c.scan))
        .endObject();
}

void writeSuite(JsonWriter& json, const SuiteInfo& suite) {
    json.beginObject()
        .member("name", suite.name)
        .member("unit", suite.unit)
        .member("largest_array", suite.largestArray)
        .member("description", suite.description)
        .member("scans", suite.scans)
        .member("shared_fill", suite.sharedFill)
        .member("cold_heap", suite.coldHeap);
    if (!suite.ownSizes.empty()) {
        json.key("sizes").array(suite.ownSizes);
    }
    json.endObject();
}

// Each of our kinds once, with its peer and goals.
void writeTargets(JsonWriter& json, const std::vector<Contender>& contenders) {
    json.beginObject().key("sizes").array(kTargetSizes).key("goals").beginArray();
    std::set<std::string> seen;
    for (const Contender& c : contenders) {
        if (!c.ours() || !seen.insert(c.kind).second) {
            continue;
        }
        const MapKind* kind = findMapKind(c.kind);
        for (const Goal& goal : kind != nullptr ? kind->goals : defaultGoals()) {
            json.beginObject()
                .member("kind", c.kind)
                .member("peer", c.peer)
                .member("suite", goal.suite)
                .member("statistic", statisticName(goal.statistic))
                .member("limit", goal.limit);
            if (goal.statistic == Goal::Statistic::percentile) {
                json.member("q", goal.q);
            }
            if (!goal.sizes.empty()) {
                json.key("sizes").array(goal.sizes);
            }
            json.endObject();
        }
    }
    json.endArray().endObject();
}

}  // namespace

void writeList(std::ostream& out, const BenchList& list) {
    JsonWriter json(out);
    json.beginObject()
        .member("program", list.program)
        .member("seed", kProgramSeed)
        .member("program_order", kProgramOrder)
        .member("batch", kBatch)
        .member("largest_random_array_fill", kLargestRandomArrayFill)
        .key("sizes")
        .array(list.defaultSizes)
        .key("context")
        .beginObject();
    for (const auto& [name, value] : list.context) {
        json.member(name, value);
    }
    json.endObject().key("contenders").beginArray();
    for (const Contender& c : *list.contenders) {
        writeContender(json, c);
    }
    json.endArray().key("suites").beginArray();
    for (const SuiteInfo& suite : list.suites) {
        writeSuite(json, suite);
    }
    json.endArray();
    if (list.withTargets) {
        json.key("targets");
        writeTargets(json, *list.contenders);
    }
    json.endObject();
}
