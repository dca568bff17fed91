#include "map_kinds.h"

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "vector_map.h"

namespace {

std::vector<MapKind>& registry() {
    static std::vector<MapKind> kinds = {
        MapKind(
            "VectorMap", [](int) { return std::make_unique<VectorMap>(); },
            checkerOf(&VectorMap::checkInvariants))
            .withQuadraticFill()
            .withScan(scanOf<VectorMap>()),
        MapKind(
            "BTree", [](int order) { return std::make_unique<BTree>(order); },
            checkerOf(&BTree::check_invariants))
            .takingOrder()
            .withDiagnostics(
                [](Map& map, std::ostream& out) { static_cast<BTree&>(map).set_diagnostics(out); })
            .withScan(scanOf<BTree>()),
        MapKind(
            "AVLBinaryTree", [](int) { return std::make_unique<AVLBinaryTree>(); },
            checkerOf(&AVLBinaryTree::checkInvariants))
            .withScan(scanOf<AVLBinaryTree>()),
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
