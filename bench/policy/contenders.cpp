#include "contenders.h"

#include <algorithm>

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
