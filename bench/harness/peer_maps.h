// The containers a user would pick instead of our maps, each behind the same
// Map interface, and a floor that does no map work at all.
#pragma once

#include <memory>

#include "map_interface.h"
#include "map_scan.h"

// std::map<int, Data*>.
std::unique_ptr<Map> makeStdMapPeer();
// A sorted std::vector of {int, Data*} searched with std::lower_bound.
std::unique_ptr<Map> makeSortedVectorPeer();
// std::unordered_map<int, Data*>: unordered, a reference point only.
std::unique_ptr<Map> makeUnorderedMapPeer();
// absl::btree_map<int, Data*>, or null when the build has no Abseil.
std::unique_ptr<Map> makeAbslBtreePeer();
// The ordered peers' scans, of maps made by the function of the same
// name: lower_bound, then the container's own iterator, the tally inlined.
// absl's is never called in a build without Abseil.
int scanSortedVectorPeer(const Map& map, int from, int count, ScanTally& tally);
int scanStdMapPeer(const Map& map, int from, int count, ScanTally& tally);
int scanAbslBtreePeer(const Map& map, int from, int count, ScanTally& tally);

// Answers every call without storing anything: the cost of the random draws
// and the virtual call alone.
std::unique_ptr<Map> makeFloorPeer();
