// What the benchmarks measure: our maps (every registered kind, the B-tree
// at several orders) and the containers a user would pick instead, all
// behind Map.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "map_interface.h"

struct Contender {
    std::string name;  // "VectorMap", "BTree_32", "std_map", ...
    std::function<std::unique_ptr<Map>()> make;
    bool ours;
    // A fill of n random keys costs time quadratic in n (sorted arrays).
    bool quadraticFill;
    // For our maps, the peer a user would pick instead; "" for peers.
    std::string peer;
};

// The B-tree orders the benchmarks sweep.
const std::vector<int>& benchOrders();

// Our maps first, in registration order, then the peers; the peers are
// std::map, a sorted std::vector, std::unordered_map (unordered: a
// reference point only), absl::btree_map when the build has Abseil, and
// "floor", which does no map work: the cost of the draws and the call.
const std::vector<Contender>& contenders();

// "VectorMap=sorted_vector,BTree_3=absl_btree_map,...": each of our maps
// and its peer, for the benchmarks' recorded context.
std::string peerTable();

// The contender of that name, or null.
const Contender* findContender(const std::string& name);

// Takes "--sizes=a,b,c" out of the arguments (record counts); `fallback`
// when it is absent. Exits with a message on a malformed list.
std::vector<int> takeSizes(int& argc, char** argv, std::vector<int> fallback);
