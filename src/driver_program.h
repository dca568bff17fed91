// The program around the timed workload: the maps it times, made from the
// list of map kinds; which of them the map selector chooses; their banners;
// the handling of a map's failure message and of running out of memory.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "map_interface.h"
#include "options.h"

// The kinds the map selector (-d) chooses, in timing order: 0 VectorMap,
// BTree and AVLBinaryTree; 1 VectorMap; 2 BTree; 3 AVLBinaryTree; 4 BTree
// and AVLBinaryTree; any other value none.
std::vector<std::string> selectedKinds(int mapSelector);

// The program's maps by kind name.
using MapsByKind = std::map<std::string, Map*>;

// The three maps the program times, each made by its entry in the list of
// map kinds: the B-tree of the given order, then the AVL tree, then the
// vector map; destroyed in that same order. Their diagnostics go to
// standard output, where the program writes everything. Lets
// std::bad_alloc through.
class DriverMaps {
public:
    explicit DriverMaps(int order);
    ~DriverMaps();
    DriverMaps(const DriverMaps&) = delete;
    DriverMaps& operator=(const DriverMaps&) = delete;

    MapsByKind byKind() const;

private:
    std::vector<std::pair<std::string, std::unique_ptr<Map>>> m_maps;  // in creation order
};

// Times the maps chosen by the map selector, each after its banner. A
// message text thrown by a map is written to standard output and ends the
// timing: the maps after it are skipped.
void timeSelectedMaps(const Settings& settings, IntegerData* records, const MapsByKind& maps);

// The whole program: parse, seed, build records and maps, time, tear down.
// Returns 0, or 1 after writing to standard error when memory runs out.
int runMapbench(int argc, const char* const* argv);
