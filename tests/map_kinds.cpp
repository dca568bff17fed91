#include "map_kinds.h"

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "vector_map.h"

namespace {

template <typename M>
MapKind kindOf(std::string name, std::function<std::unique_ptr<Map>()> make,
               std::string (M::*check)() const) {
    return MapKind{std::move(name), std::move(make),
                   [check](const Map& map) { return (dynamic_cast<const M&>(map).*check)(); }};
}

}  // namespace

std::vector<MapKind> allMapKinds() {
    std::vector<MapKind> kinds;
    kinds.push_back(kindOf<VectorMap>(
        "VectorMap", [] { return std::make_unique<VectorMap>(); }, &VectorMap::checkInvariants));
    for (int order : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 300}) {
        kinds.push_back(kindOf<BTree>(
            "BTreeOrder" + std::to_string(order),
            [order] { return std::make_unique<BTree>(order); }, &BTree::check_invariants));
    }
    kinds.push_back(kindOf<AVLBinaryTree>(
        "AVLBinaryTree", [] { return std::make_unique<AVLBinaryTree>(); },
        &AVLBinaryTree::checkInvariants));
    return kinds;
}
