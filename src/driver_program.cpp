#include "driver_program.h"

#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>

#include "map_kinds.h"
#include "timing_driver.h"

namespace {

// The kinds the program creates, in creation (and destruction) order.
const char* const kCreationOrder[] = {"BTree", "AVLBinaryTree", "VectorMap"};

const char* bannerOf(const std::string& kind) {
    if (kind == "VectorMap") {
        return "**** Timing Vector implementation...";
    }
    if (kind == "BTree") {
        return "**** Timing BTree implementation...";
    }
    return "**** Timing AVLBinaryTree implementation...";
}

void timeWithBanner(const std::string& kind, const Settings& settings, IntegerData* records,
                    Map* map) {
    if (settings.outputLevel > 0) {
        std::cout << bannerOf(kind) << std::endl;
    }
    timeMap(records, settings.recordCount, settings.iterations, map, settings.outputLevel,
            settings.phaseSelector);
}

int reportOutOfMemory(const std::string& what) {
    std::cout.flush();
    std::cerr << "mapbench: out of memory: " << what << std::endl;
    return 1;
}

}  // namespace

std::vector<std::string> selectedKinds(int mapSelector) {
    switch (mapSelector) {
        case 0:
            return {"VectorMap", "BTree", "AVLBinaryTree"};
        case 1:
            return {"VectorMap"};
        case 2:
            return {"BTree"};
        case 3:
            return {"AVLBinaryTree"};
        case 4:
            return {"BTree", "AVLBinaryTree"};
        default:
            return {};
    }
}

DriverMaps::DriverMaps(int order) {
    for (const char* name : kCreationOrder) {
        const MapKind& kind = *findMapKind(name);
        std::unique_ptr<Map> map = kind.make(order);
        if (kind.setDiagnostics) {
            kind.setDiagnostics(*map, std::cout);
        }
        m_maps.emplace_back(name, std::move(map));
    }
}

DriverMaps::~DriverMaps() {
    for (auto& entry : m_maps) {
        entry.second.reset();
    }
}

MapsByKind DriverMaps::byKind() const {
    MapsByKind maps;
    for (const auto& [name, map] : m_maps) {
        maps[name] = map.get();
    }
    return maps;
}

void timeSelectedMaps(const Settings& settings, IntegerData* records, const MapsByKind& maps) {
    try {
        for (const std::string& kind : selectedKinds(settings.mapSelector)) {
            timeWithBanner(kind, settings, records, maps.at(kind));
        }
    } catch (const char* message) {
        std::cout << message << std::endl;
    }
}

int runMapbench(int argc, const char* const* argv) {
    const Settings settings = parseCommandLine(argc, argv);
    std::srand(static_cast<unsigned>(settings.seed));

    std::unique_ptr<IntegerData[]> records;
    try {
        records = generateRandomData(settings.recordCount);
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory("cannot allocate " + std::to_string(settings.recordCount) +
                                 " records");
    }

    std::optional<DriverMaps> maps;
    try {
        maps.emplace(settings.order);
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory("cannot create the maps (B-tree of order " +
                                 std::to_string(settings.order) + ")");
    }

    try {
        timeSelectedMaps(settings, records.get(), maps->byKind());
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory("the maps outgrew the available memory while being timed");
    }
    return 0;
}
