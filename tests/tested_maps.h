// The maps the shared suites run against: every registered kind, the B-tree
// at every order from 3 to 16 and at 300.
#pragma once

#include <vector>

#include "map_kinds.h"

inline std::vector<MapVariant> testedMaps() {
    return mapVariants({3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 300});
}
