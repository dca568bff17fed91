#include "driver_maps.h"

#include <iostream>

#include "AVLBinaryTree.h"
#include "BTree.h"
#include "vector_map.h"

DriverMaps::~DriverMaps() {
    btreeMap.reset();
    avlMap.reset();
    vectorMap.reset();
}

DriverMaps createDriverMaps(int order) {
    DriverMaps maps;
    auto btree = std::make_unique<BTree>(order);
    btree->set_diagnostics(std::cout);  // the program writes everything to standard output
    maps.btreeMap = std::move(btree);
    maps.avlMap = std::make_unique<AVLBinaryTree>();
    maps.vectorMap = std::make_unique<VectorMap>();
    return maps;
}
