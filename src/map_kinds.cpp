#include "map_kinds.h"

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "vector_map.h"

namespace {

std::vector<Goal> joined(std::vector<std::vector<Goal>> lists) {
    std::vector<Goal> goals;
    for (std::vector<Goal>& list : lists) {
        goals.insert(goals.end(), list.begin(), list.end());
    }
    return goals;
}

// Ordered scans are what an ordered map is chosen for: each of ours is asked
// to walk as fast as its peer, the AVL tree faster than the red-black tree,
// up to sizes beyond the caches.
std::vector<Goal> scanGoals(double limit) {
    const std::vector<int> sizes = {10000, 100000, 1000000};
    return {Goal::time("walk", limit, sizes), Goal::time("short_scan", limit, sizes),
            Goal::time("short_scan_zipf", limit, sizes)};
}

// The standard core workloads (reads, updates, insertions of the latest
// keys, short scans, read-modify-writes), beyond the caches: what an index
// benchmark would ask of a tree.
std::vector<Goal> coreGoals(double limit) {
    const std::vector<int> sizes = {1000000, 10000000};
    std::vector<Goal> goals;
    for (const char* suite : {"core_a", "core_b", "core_c", "core_d", "core_e", "core_f"}) {
        goals.push_back(Goal::time(suite, limit, sizes));
    }
    return goals;
}

// A sorted array's insertions move memory whatever its search does, so only
// its finds are asked to gain.
std::vector<Goal> vectorMapGoals() {
    return joined({{Goal::time("find", 0.7), Goal::time("mix", 1.0)}, scanGoals(1.0)});
}

// The trees are asked to gain on finds and to hold their own on everything
// else; their slowest calls, beyond the caches, should cost no more than
// their peer's.
std::vector<Goal> treeGoals() {
    return {Goal::time("find", 0.9),           Goal::time("mix", 1.0),
            Goal::bytes(1.0),                  Goal::instructions("find", 1.0),
            Goal::instructions("mix", 1.0),    Goal::percentile("mix", 99.9, 1.0, {1000000})};
}

// One lookup at a time, beyond the caches, a B-tree visit should cost about
// one memory round trip a level; lookups free to overlap should gain more.
// Keys that arrive in order should not lose the first-and-last-key checks'
// gains. The slowest calls of the fill, the finds and the FIFO window too
// should cost no more than the peer's.
std::vector<Goal> btreeGoals() {
    const std::vector<int> beyond = {1000000};
    const std::vector<int> large = {1000000, 10000000};
    return joined({treeGoals(),
                   {Goal::percentile("fill", 99.9, 1.0, beyond),
                    Goal::percentile("find", 99.9, 1.0, beyond),
                    Goal::percentile("fifo", 99.9, 1.0, beyond)},
                   {Goal::time("dependent_find", 0.8, large),
                    Goal::time("independent_find", 0.6, large),
                    Goal::time("independent_find", 0.8, {100000}),
                    Goal::time("ascending_insert", 1.0, {10000000}),
                    Goal::time("descending_insert", 1.5, {10000000}),
                    Goal::time("fifo", 1.0, {10000000})},
                   scanGoals(1.0), coreGoals(0.8)});
}

std::vector<Goal> avlGoals() {
    return joined({treeGoals(), {Goal::time("dependent_find", 0.8, {1000000, 10000000})},
                   scanGoals(0.9), coreGoals(1.0)});
}

std::vector<MapKind>& registry() {
    static std::vector<MapKind> kinds = {
        MapKind(
            "VectorMap", [](int) { return std::make_unique<VectorMap>(); },
            checkerOf(&VectorMap::checkInvariants))
            .withQuadraticFill()
            .withScan(scanOf<VectorMap>())
            .withGoals(vectorMapGoals())
            .withBannerName("Vector"),
        MapKind(
            "BTree", [](int order) { return std::make_unique<BTree>(order); },
            checkerOf(&BTree::check_invariants))
            .takingOrder()
            .withDiagnostics(
                [](Map& map, std::ostream& out) { static_cast<BTree&>(map).set_diagnostics(out); })
            .withScan(scanOf<BTree>())
            .withGoals(btreeGoals()),
        MapKind(
            "AVLBinaryTree", [](int) { return std::make_unique<AVLBinaryTree>(); },
            checkerOf(&AVLBinaryTree::checkInvariants))
            .withScan(scanOf<AVLBinaryTree>())
            .withGoals(avlGoals()),
    };
    return kinds;
}

}  // namespace

const std::vector<MapKind>& mapKinds() {
    return registry();
}

const MapKind* findMapKind(const std::string& name) {
    for (const MapKind& kind : mapKinds()) {
        if (kind.name == name) {
            return &kind;
        }
    }
    return nullptr;
}

void registerMapKind(MapKind kind) {
    registry().push_back(std::move(kind));
}

std::string MapVariant::label() const {
    return kind->takesOrder ? kind->name + "_" + std::to_string(order) : kind->name;
}

std::vector<MapVariant> mapVariants(const std::vector<int>& orders) {
    std::vector<MapVariant> variants;
    for (const MapKind& kind : mapKinds()) {
        if (!kind.takesOrder) {
            variants.push_back({&kind, 0});
            continue;
        }
        for (int order : orders) {
            variants.push_back({&kind, order});
        }
    }
    return variants;
}
