// The map implementations that the shared contract tests run against, each
// with a factory and its invariant check.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "map_interface.h"

struct MapKind {
    std::string name;
    std::function<std::unique_ptr<Map>()> make;
    // Describes the first broken invariant of a map made by `make`, or "".
    std::function<std::string(const Map&)> check;
};

inline std::ostream& operator<<(std::ostream& out, const MapKind& kind) {
    return out << kind.name;
}

// Every implementation, the B-tree at several orders.
std::vector<MapKind> allMapKinds();
