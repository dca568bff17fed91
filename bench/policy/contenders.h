// What the benchmarks measure: our maps (every registered kind, the B-tree
// at several orders) and the containers a user would pick instead, all
// behind Map. Every bench program and the report take their names from here.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "map_interface.h"
#include "map_scan.h"

struct Contender {
    // What the report does with a contender's figures.
    enum class Role {
        ours,       // one of our maps, compared with its `peer`
        peer,       // an ordered container a user would pick instead
        unordered,  // a hash map: a reference point, not a peer
        floor,      // no map work at all: the cost of the draws and the call
    };

    std::string name;  // "VectorMap", "BTree_32", "std_map", ...
    std::function<std::unique_ptr<Map>()> make;
    Role role = Role::peer;
    // A fill of n random keys costs time quadratic in n (sorted arrays).
    bool quadraticFill = false;
    // For our maps, the peer a user would pick instead; "" for the others.
    std::string peer;
    // For our maps, the registered kind ("BTree" for "BTree_32") and its
    // order (0 for kinds without one); "" and 0 for the others.
    std::string kind;
    int order = 0;
    // Its ordered scan with the tally inlined, or empty for a contender
    // that cannot walk its keys in order (the hash map, the floor).
    std::function<int(const Map&, int from, int count, ScanTally&)> scan = nullptr;

    bool ours() const { return role == Role::ours; }
};

const char* roleName(Contender::Role role);

// Our maps first, in registration order (kinds that take an order once per
// order in `orders`), then the peers: a sorted std::vector, std::map,
// absl::btree_map when the build has Abseil, std::unordered_map and
// "floor".
std::vector<Contender> contendersAt(const std::vector<int>& orders);

// contendersAt(kPhaseOrders), built once.
const std::vector<Contender>& contenders();

// The contenders of the workload and latency runs: every one but the floor
// (which stores nothing to walk or fill), the B-tree at kWorkloadOrders.
const std::vector<Contender>& workloadContenders();

// The contender of that name among contenders(), or null.
const Contender* findContender(const std::string& name);
