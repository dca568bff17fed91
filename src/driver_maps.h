// The three maps the program times, created and destroyed in the program's
// fixed order.
#pragma once

#include <memory>

#include "map_interface.h"
#include "timing_driver.h"

// Owns the maps; destroys the B-tree map, then the AVL tree map, then the
// vector map.
struct DriverMaps {
    std::unique_ptr<Map> btreeMap;
    std::unique_ptr<Map> avlMap;
    std::unique_ptr<Map> vectorMap;

    DriverMaps() = default;
    DriverMaps(DriverMaps&&) = default;
    DriverMaps& operator=(DriverMaps&&) = default;
    ~DriverMaps();

    MapSet view() const { return MapSet{vectorMap.get(), btreeMap.get(), avlMap.get()}; }
};

// Creates the B-tree map of the given order, then an empty AVL tree map,
// then an empty vector map. Lets std::bad_alloc through.
DriverMaps createDriverMaps(int order);
