#include "contenders.h"

#include <algorithm>
#include <map>

#include "constants.h"
#include "map_kinds.h"
#include "peer_maps.h"

namespace {

std::string peerOf(const MapKind& kind, bool haveAbsl) {
    if (kind.quadraticFill) {
        return "sorted_vector";
    }
    if (kind.takesOrder && haveAbsl) {
        return "absl_btree_map";
    }
    return "std_map";
}

}  // namespace

const char* roleName(Contender::Role role) {
    switch (role) {
        case Contender::Role::ours:
            return "ours";
        case Contender::Role::peer:
            return "peer";
        case Contender::Role::unordered:
            return "unordered";
        case Contender::Role::floor:
            return "floor";
    }
    return "";
}

namespace {

Contender ourContender(const MapVariant& variant, bool haveAbsl) {
    Contender c;
    c.name = variant.label();
    c.make = [variant] { return variant.make(); };
    c.role = Contender::Role::ours;
    c.quadraticFill = variant.kind->quadraticFill;
    c.peer = peerOf(*variant.kind, haveAbsl);
    c.kind = variant.kind->name;
    c.order = variant.order;
    c.scan = variant.kind->scan.tally;
    return c;
}

Contender otherContender(std::string name, std::unique_ptr<Map> (*make)(), Contender::Role role,
                         decltype(Contender::scan) scan = nullptr) {
    Contender c;
    c.name = std::move(name);
    c.make = make;
    c.role = role;
    c.scan = std::move(scan);
    return c;
}

}  // namespace

std::vector<Contender> contendersAt(const std::vector<int>& orders) {
    using Role = Contender::Role;
    const bool haveAbsl = makeAbslBtreePeer() != nullptr;
    std::vector<Contender> all;
    for (const MapVariant& variant : mapVariants(orders)) {
        all.push_back(ourContender(variant, haveAbsl));
    }
    all.push_back(
        otherContender("sorted_vector", makeSortedVectorPeer, Role::peer, scanSortedVectorPeer));
    all.back().quadraticFill = true;
    all.push_back(otherContender("std_map", makeStdMapPeer, Role::peer, scanStdMapPeer));
    if (haveAbsl) {
        all.push_back(
            otherContender("absl_btree_map", makeAbslBtreePeer, Role::peer, scanAbslBtreePeer));
    }
    all.push_back(otherContender("std_unordered_map", makeUnorderedMapPeer, Role::unordered));
    all.push_back(otherContender("floor", makeFloorPeer, Role::floor));
    return all;
}

const std::vector<Contender>& contenders() {
    static const std::vector<Contender> all = contendersAt(kPhaseOrders);
    return all;
}

const std::vector<Contender>& workloadContenders() {
    static const std::vector<Contender> all = [] {
        std::vector<Contender> chosen = contendersAt(kWorkloadOrders);
        chosen.erase(
            std::remove_if(chosen.begin(), chosen.end(),
                           [](const Contender& c) { return c.role == Contender::Role::floor; }),
            chosen.end());
        return chosen;
    }();
    return all;
}

const Contender* findContender(const std::string& name) {
    for (const Contender& contender : contenders()) {
        if (contender.name == name) {
            return &contender;
        }
    }
    return nullptr;
}

std::vector<Goal> goalsOf(const std::string& kind) {
    // A sorted array's insertions move memory whatever its search does, so
    // only its finds are asked to gain; the trees are asked to gain on finds
    // and to hold their own on everything else.
    // Ordered scans are what an ordered map is chosen for: each of ours is
    // asked to walk as fast as its peer, the AVL tree faster than the
    // red-black tree, up to sizes beyond the caches.
    const std::vector<int> scanSizes = {10000, 100000, 1000000};
    const auto scans = [&scanSizes](double ratio) {
        return std::vector<Goal>{{"walk", ratio, scanSizes},
                                 {"short_scan", ratio, scanSizes},
                                 {"short_scan_zipf", ratio, scanSizes}};
    };
    const auto with = [](std::vector<Goal> goals, const std::vector<Goal>& more) {
        goals.insert(goals.end(), more.begin(), more.end());
        return goals;
    };
    // A tree's slowest calls, beyond the caches, should cost no more than its
    // peer's: of the mix, the fill, the finds and the FIFO window.
    const std::vector<int> beyond = {1000000};
    const std::vector<Goal> tree = {{"find", 0.9},
                                    {"mix", 1.0},
                                    {"bytes", 1.0},
                                    {"find_instructions", 1.0},
                                    {"mix_instructions", 1.0},
                                    {"mix_latency_p99.9", 1.0, beyond}};
    const std::vector<Goal> btreeTails = {{"fill_latency_p99.9", 1.0, beyond},
                                          {"find_latency_p99.9", 1.0, beyond},
                                          {"fifo_latency_p99.9", 1.0, beyond}};
    // One lookup at a time, beyond the caches, a B-tree visit should cost
    // about one memory round trip a level; lookups free to overlap should
    // gain more. Keys that arrive in order should not lose the first-and-
    // last-key checks' gains.
    const std::vector<int> large = {1000000, 10000000};
    const std::vector<Goal> btreeLookups = {
        {"dependent_find", 0.8, large},         {"independent_find", 0.6, large},
        {"independent_find", 0.8, {100000}},    {"ascending_insert", 1.0, {10000000}},
        {"descending_insert", 1.5, {10000000}}, {"fifo", 1.0, {10000000}}};
    static const std::map<std::string, std::vector<Goal>> goals = {
        {"VectorMap", with({{"find", 0.7}, {"mix", 1.0}}, scans(1.0))},
        {"BTree", with(with(with(tree, btreeTails), btreeLookups), scans(1.0))},
        {"AVLBinaryTree", with(with(tree, {{"dependent_find", 0.8, large}}), scans(0.9))},
    };
    const auto found = goals.find(kind);
    return found != goals.end() ? found->second : std::vector<Goal>{{"find", 1.0}, {"mix", 1.0}};
}
