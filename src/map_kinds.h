// The one list of map kinds. The tests' contract and differential suites,
// the fuzzer and the benchmarks all take their maps from it, so a new map
// is covered everywhere once it has an entry here.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "map_goals.h"
#include "map_interface.h"
#include "map_scan.h"

// One kind of map, built by name with what it needs and then its options:
//
//   MapKind("SkipList", [](int) { return std::make_unique<SkipList>(); },
//           checkerOf(&SkipList::checkInvariants))
//       .withScan(scanOf<SkipList>())
//       .withGoals({Goal::time("find", 0.9), Goal::time("mix", 1.0)})
struct MapKind {
    using Maker = std::function<std::unique_ptr<Map>(int order)>;
    using Checker = std::function<std::string(const Map&)>;
    using Diagnostics = std::function<void(Map&, std::ostream&)>;

    MapKind(std::string kindName, Maker maker, Checker checker)
        : name(std::move(kindName)), make(std::move(maker)), check(std::move(checker)) {}

    // Its maps are built with an order (the B-tree); the others ignore it.
    MapKind takingOrder() && {
        takesOrder = true;
        return std::move(*this);
    }
    // Every insertion moves the entries behind it (sorted arrays).
    MapKind withQuadraticFill() && {
        quadraticFill = true;
        return std::move(*this);
    }
    MapKind withDiagnostics(Diagnostics diagnostics) && {
        setDiagnostics = std::move(diagnostics);
        return std::move(*this);
    }
    MapKind withScan(MapScan ordered) && {
        scan = std::move(ordered);
        return std::move(*this);
    }
    // The name the program's banner gives it ("Vector" for VectorMap).
    MapKind withBannerName(std::string shown) && {
        bannerName = std::move(shown);
        return std::move(*this);
    }
    MapKind withGoals(std::vector<Goal> asked) && {
        goals = std::move(asked);
        return std::move(*this);
    }

    std::string name;
    // An empty map. Kinds that take an order (the B-tree) are built with it;
    // the others ignore it.
    Maker make;
    // Describes the first broken invariant of a map made by `make`, or "".
    Checker check;
    bool takesOrder = false;
    // A fill of n random keys costs time quadratic in n.
    bool quadraticFill = false;
    // Points a map's diagnostics (the text it writes about a broken
    // structure before failing) at a stream; empty for kinds that write none.
    Diagnostics setDiagnostics = nullptr;
    // The kind's ordered scan (scanOf), or empty: a kind need not provide
    // one; the scan tests, the fuzzer and the scan benchmarks then pass it by.
    MapScan scan = {};
    // What the benchmarks ask of it against its peer (map_goals.h).
    std::vector<Goal> goals = defaultGoals();
    // "**** Timing <bannerName> implementation..."; empty: its name.
    std::string bannerName;
};

// A check for maps of class M through their member `check`.
template <typename M>
std::function<std::string(const Map&)> checkerOf(std::string (M::*check)() const) {
    return [check](const Map& map) { return (dynamic_cast<const M&>(map).*check)(); };
}

// Every kind: the built-in maps in the driver's timing order, then those
// added with registerMapKind.
const std::vector<MapKind>& mapKinds();

// The first kind of that name, or null.
const MapKind* findMapKind(const std::string& name);

// Adds a kind to the list; call it before the list is read (for instance
// from a static initialiser).
void registerMapKind(MapKind kind);

// One map of one kind at one order: "VectorMap", or "BTree_16" for a kind
// that takes an order.
struct MapVariant {
    const MapKind* kind;
    int order;

    std::string label() const;
    std::unique_ptr<Map> make() const { return kind->make(order); }
    std::string check(const Map& map) const { return kind->check(map); }
};

// Every kind once, those that take an order once per order in `orders`.
std::vector<MapVariant> mapVariants(const std::vector<int>& orders);

inline std::ostream& operator<<(std::ostream& out, const MapVariant& variant) {
    return out << variant.label();
}
