#include "map_kinds.h"

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "vector_map.h"

namespace {

std::vector<MapKind>& registry() {
    static std::vector<MapKind> kinds = {
        {"VectorMap", [](int) { return std::make_unique<VectorMap>(); },
         checkerOf(&VectorMap::checkInvariants), false, true, nullptr, scanOf<VectorMap>()},
        {"BTree", [](int order) { return std::make_unique<BTree>(order); },
         checkerOf(&BTree::check_invariants), true, false,
         [](Map& map, std::ostream& out) { static_cast<BTree&>(map).set_diagnostics(out); },
         scanOf<BTree>()},
        {"AVLBinaryTree", [](int) { return std::make_unique<AVLBinaryTree>(); },
         checkerOf(&AVLBinaryTree::checkInvariants), false, false, nullptr,
         scanOf<AVLBinaryTree>()},
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
